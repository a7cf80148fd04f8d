// The installer (installer/mendora.nsi) writes the registry names the
// programs read (common/suite_registry.h): a renamed value on either side
// would leave an installed program with its defaults or with nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "common/suite_registry.h"

namespace {

// What the installer writes below HKLM, with its !define names expanded.
struct InstallerRegistry {
    std::map<std::string, std::string> defines;
    // Key -> value name -> the data written (empty when not a literal).
    std::map<std::string, std::map<std::string, std::string>> written;
    std::set<std::string> deletedKeys;
};

std::string expand(const std::string& text, const std::map<std::string, std::string>& defines) {
    std::string out = text;
    for (int round = 0; round < 8; ++round) {
        bool changed = false;
        for (const auto& [name, value] : defines) {
            const std::string use = "${" + name + "}";
            for (size_t at; (at = out.find(use)) != std::string::npos; changed = true)
                out.replace(at, use.size(), value);
        }
        if (!changed) break;
    }
    return out;
}

InstallerRegistry readInstaller() {
    InstallerRegistry r;
    std::ifstream file(std::string(MENDORA_SOURCE_ROOT) + "/installer/mendora.nsi");
    EXPECT_TRUE(file.good()) << "installer/mendora.nsi cannot be read";
    const std::regex define(R"re(^\s*!define\s+(\w+)\s+"([^"]*)\")re");
    const std::regex write(
        R"re(^\s*(?:WriteRegStr|WriteRegDWORD|WriteRegExpandStr)\s+HKLM\s+"([^"]*)"\s+"([^"]*)"\s+(.*)$)re");
    const std::regex writeUnlessSet(
        R"re(^\s*!insertmacro\s+WriteRegStrUnlessSet\s+"([^"]*)"\s+"([^"]*)"\s+"([^"]*)\")re");
    const std::regex deleteKey(R"re(^\s*DeleteRegKey\s+HKLM\s+"([^"]*)\")re");
    std::string line;
    std::smatch m;
    while (std::getline(file, line)) {
        if (std::regex_search(line, m, define)) {
            r.defines[m[1]] = m[2];
        } else if (std::regex_search(line, m, write) ||
                   std::regex_search(line, m, writeUnlessSet)) {
            std::string data = m[3];
            if (data.size() >= 2 && data.front() == '"' && data.back() == '"')
                data = data.substr(1, data.size() - 2);
            r.written[expand(m[1], r.defines)][m[2]] = expand(data, r.defines);
        } else if (std::regex_search(line, m, deleteKey)) {
            r.deletedKeys.insert(expand(m[1], r.defines));
        }
    }
    return r;
}

// The programs' key paths end with a backslash; the installer's do not.
std::string withoutTrailingBackslash(const char* path) {
    std::string p = path;
    if (!p.empty() && p.back() == '\\') p.pop_back();
    return p;
}

TEST(InstallerNames, TheInstallerWritesTheSuiteValuesTheProgramsRead) {
    const InstallerRegistry installer = readInstaller();
    const std::string suiteKey = withoutTrailingBackslash(win::kSuiteKey);
    ASSERT_EQ(installer.written.count(suiteKey), 1u) << "nothing written to " << suiteKey;
    const auto& values = installer.written.at(suiteKey);

    std::set<std::string> names;
    for (const auto& [name, data] : values) names.insert(name);
    EXPECT_EQ(names, (std::set<std::string>{win::kVersionValue, win::kReferralValue,
                                            win::kSecondReferralValue, win::kTdaiValue,
                                            win::kSupportServerValue, win::kSupportPageValue,
                                            win::kUpdateServerValue}));
    // An install leaves the programs where they would be without it.
    EXPECT_EQ(values.at(win::kSupportServerValue), win::kDefaultSupportServer);
    EXPECT_EQ(values.at(win::kSupportPageValue), win::kDefaultSupportPage);
    EXPECT_EQ(values.at(win::kUpdateServerValue), win::kDefaultUpdateServer);
    EXPECT_EQ(installer.defines.at("MAKER"), win::kMakerName);
    EXPECT_EQ(installer.deletedKeys.count(suiteKey), 1u) << "the uninstaller leaves " << suiteKey;
}

TEST(InstallerNames, TheUpdateListAndTheAppPathsEntriesAreWhereTheProgramsLook) {
    const InstallerRegistry installer = readInstaller();
    const std::string updateKey = withoutTrailingBackslash(win::kUpdateKey);
    ASSERT_EQ(installer.written.count(updateKey), 1u) << "no update list in " << updateKey;
    EXPECT_EQ(installer.written.at(updateKey).count(win::kMendoraEntry), 1u);

    const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    for (const char* entry : {win::kMendoraEntry, win::kSuiteHostEntry}) {
        const std::string key = appPaths + entry;
        ASSERT_EQ(installer.written.count(key), 1u) << "no App Paths entry " << entry;
        EXPECT_EQ(installer.written.at(key).count("Path"), 1u) << entry;
        EXPECT_EQ(installer.deletedKeys.count(key), 1u) << "the uninstaller leaves " << key;
    }
}

}  // namespace
