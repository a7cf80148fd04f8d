// Mendora.exe run from a script: the commands of its command line, their
// reports and exit codes, through the real program on files planted in the
// temporary folder it inherits from this test program (Drive Cleaner's).
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "shell/driver/mendora_driver.h"

using namespace testing_support;

namespace {

// A check that the text is one JSON value (RFC 8259) and nothing else.
class JsonCheck {
public:
    explicit JsonCheck(const std::string& text) : s_(text) {}
    bool valid() { return value() && (space(), at_ == s_.size()); }

private:
    void space() {
        while (at_ < s_.size() && std::strchr(" \t\r\n", s_[at_])) ++at_;
    }
    bool take(char c) {
        space();
        if (at_ >= s_.size() || s_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool word(const char* w) {
        const size_t n = std::strlen(w);
        if (s_.compare(at_, n, w) != 0) return false;
        at_ += n;
        return true;
    }
    bool string() {
        if (!take('"')) return false;
        while (at_ < s_.size() && s_[at_] != '"') {
            const auto c = static_cast<unsigned char>(s_[at_++]);
            if (c < 0x20) return false;
            if (c != '\\') continue;
            if (at_ >= s_.size()) return false;
            const char e = s_[at_++];
            if (e == 'u') {
                for (int i = 0; i < 4; ++i)
                    if (at_ >= s_.size() || !std::isxdigit(static_cast<unsigned char>(s_[at_++])))
                        return false;
            } else if (!std::strchr("\"\\/bfnrt", e)) {
                return false;
            }
        }
        return take('"');
    }
    bool value() {
        space();
        if (at_ >= s_.size()) return false;
        const char c = s_[at_];
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++at_;
            if (take(close)) return true;
            do {
                if (c == '{' && !(string() && take(':'))) return false;
                if (!value()) return false;
            } while (take(','));
            return take(close);
        }
        if (c == '"') return string();
        if (word("true") || word("false") || word("null")) return true;
        const size_t start = at_;
        if (s_[at_] == '-') ++at_;
        while (at_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[at_]))) ++at_;
        return at_ > start && std::isdigit(static_cast<unsigned char>(s_[at_ - 1]));
    }

    const std::string& s_;
    size_t at_ = 0;
};

// The escaped form of a path as the report writes it.
std::string inJson(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

struct FileState {
    std::string bytes;
    FILETIME written = {}, accessed = {};
    bool operator==(const FileState& o) const {
        return bytes == o.bytes && CompareFileTime(&written, &o.written) == 0 &&
               CompareFileTime(&accessed, &o.accessed) == 0;
    }
};

// Sets the last access time and keeps the rest.
void setLastAccess(const std::string& path, const FILETIME& accessed) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    SetFileTime(file, nullptr, &accessed, nullptr);
    CloseHandle(file);
}

// The file's bytes and times; reading it puts its last access back, so that
// it stays a file nobody used.
FileState stateOf(const std::string& path) {
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return state;
    state.written = data.ftLastWriteTime;
    state.accessed = data.ftLastAccessTime;
    state.bytes = readFile(path);
    setLastAccess(path, state.accessed);
    return state;
}

class MendoraCommand : public ::testing::Test {
protected:
    MendoraCommand()
        : appPath("Mendora.exe", install.path()), processId(win::kSuiteKey, win::kProcessIdValue) {}

    // Runs Mendora.exe with the arguments; its exit code.
    DWORD run(const std::string& arguments) {
        ProgramProcess mendora(ownProgramFolder() + "..\\Mendora.exe", arguments);
        EXPECT_TRUE(mendora.started()) << arguments;
        return mendora.exitCode(300);
    }
    std::string report() { return readFile(reportPath); }

    // An old file of the temporary folder, which Drive Cleaner finds.
    std::string plant(const std::string& name, const std::string& contents) {
        const std::string path = temp.path() + name;
        writeFile(path, contents);
        SYSTEMTIME now;
        GetSystemTime(&now);
        FILETIME time;
        SystemTimeToFileTime(&now, &time);
        ULARGE_INTEGER value;
        value.LowPart = time.dwLowDateTime;
        value.HighPart = time.dwHighDateTime;
        value.QuadPart -= 2ull * 24 * 3600 * 10000000;  // two days ago
        time.dwLowDateTime = value.LowPart;
        time.dwHighDateTime = value.HighPart;
        setLastAccess(path, time);
        return path;
    }

    ScopedTestFolder install;
    ScopedAppPathsEntry appPath;
    ScopedSuiteValue processId;
    ScopedTestFolder temp;
    ScopedTestFolder reports;
    const std::string reportPath = reports.path() + "report.json";
};

TEST_F(MendoraCommand, AScanReportsWhatItFindsAndChangesNothing) {
    const std::string first = plant("forgotten one.tmp", "first");
    const std::string second = plant("forgotten two.tmp", std::string(5000, 'x'));
    const FileState before[] = {stateOf(first), stateOf(second)};
    DWORD type = 0;
    std::string suiteBefore, suiteAfter;
    const bool recorded = processId.read(type, suiteBefore);

    EXPECT_EQ(run("/scan /categories:drive /report:\"" + reportPath + "\""), 1u);
    const std::string json = report();
    EXPECT_TRUE(JsonCheck(json).valid()) << json;
    EXPECT_NE(json.find("\"command\": \"scan\""), std::string::npos);
    EXPECT_NE(json.find("\"name\": \"Drive Cleaner\""), std::string::npos);
    EXPECT_NE(json.find("\"problems\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"path\": \"" + inJson(first) + "\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"path\": \"" + inJson(second) + "\""), std::string::npos) << json;
    EXPECT_EQ(json.find("Windows Shortcuts"), std::string::npos) << "only the category asked";
    EXPECT_NE(json.find("\"exitCode\": 1"), std::string::npos);

    // Byte for byte and time for time as before; no backup folder, no record.
    EXPECT_TRUE(stateOf(first) == before[0]);
    EXPECT_TRUE(stateOf(second) == before[1]);
    EXPECT_FALSE(folderExists(install.path() + "bak"));
    EXPECT_EQ(processId.read(type, suiteAfter), recorded);
    EXPECT_EQ(suiteAfter, suiteBefore);
}

TEST_F(MendoraCommand, RepairsAndRestoresAnyBackupByteForByte) {
    ASSERT_TRUE(testing_support::copyRepairEngine(install.path()));
    const std::string older = plant("older.tmp", "the first repair's file");
    const FileState olderState = stateOf(older);
    EXPECT_EQ(run("/repair /categories:drive /report:" + reportPath), 0u);
    EXPECT_FALSE(fileExists(older));
    std::string json = report();
    EXPECT_TRUE(JsonCheck(json).valid()) << json;
    EXPECT_NE(json.find("\"done\": 1"), std::string::npos) << json;
    EXPECT_NE(json.find("\"notDone\": 0"), std::string::npos) << json;

    const std::string newer = plant("newer.tmp", "the second repair's file");
    const FileState newerState = stateOf(newer);
    EXPECT_EQ(run("-REPAIR -categories:\"Drive Cleaner\""), 0u);
    EXPECT_FALSE(fileExists(newer));

    EXPECT_EQ(run("/backups /report:" + reportPath), 0u);
    json = report();
    EXPECT_TRUE(JsonCheck(json).valid()) << json;
    const size_t one = json.find("\"number\": 1"), two = json.find("\"number\": 2");
    ASSERT_NE(one, std::string::npos) << json;
    ASSERT_NE(two, std::string::npos) << json;
    EXPECT_EQ(json.find("\"number\": 3"), std::string::npos);
    EXPECT_NE(json.find("\"count\": 1", one), std::string::npos);

    // The older backup alone: its file is back as it was, the newer repair
    // stays, and its backup is still there to restore.
    EXPECT_EQ(run("/restore:2 /report:" + reportPath), 0u);
    EXPECT_TRUE(stateOf(older) == olderState);
    EXPECT_FALSE(fileExists(newer));
    json = report();
    EXPECT_TRUE(JsonCheck(json).valid()) << json;
    EXPECT_NE(json.find("\"backup\": 2"), std::string::npos) << json;
    EXPECT_NE(json.find("\"done\": 1"), std::string::npos) << json;
    EXPECT_EQ(run("/restore"), 0u);
    EXPECT_TRUE(stateOf(newer) == newerState);
    EXPECT_EQ(run("/restore"), 3u) << "nothing is left to restore";
}

TEST_F(MendoraCommand, BadSwitchesAndARunningWindowAreRefused) {
    const std::string file = plant("kept.tmp", "kept");
    const FileState before = stateOf(file);
    EXPECT_EQ(run("/repair /categories:drive,disk"), 3u);
    EXPECT_EQ(run("/repair /bogus"), 3u);
    EXPECT_EQ(run("/restore:99 /report:" + reportPath), 3u);
    EXPECT_TRUE(JsonCheck(report()).valid()) << report();
    EXPECT_EQ(run("/?"), 0u);

    ProgramProcess window(ownProgramFolder() + "..\\Mendora.exe");
    ASSERT_TRUE(window.started());
    HWND main = mendora_driver::waitForMainWindow(window.id(), 60);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(run("/repair /categories:drive /report:" + reportPath), 3u);
    EXPECT_NE(report().find("already running"), std::string::npos) << report();
    EXPECT_TRUE(stateOf(file) == before);
    window_driver::endProcess(window.id());
}

}  // namespace
