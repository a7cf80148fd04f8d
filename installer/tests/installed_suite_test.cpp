// Run inside a prefix where the installer put the suite: each program's way
// of finding what it needs, through the installed registry entries.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chat/client/client_details_file.h"
#include "chat/line_actions.h"
#include "chat/session/support_addresses.h"
#include "common/app_path.h"
#include "common/suite_registry.h"
#include "common/tests/support/test_files.h"
#include "mendora_version.h"
#include "repair/repair_engine.h"
#include "repair/settings.h"
#include "updater/update_check.h"
#include "updater/update_server_address.h"
#include "updater/update_view.h"

namespace {

// The folder the installer test chose, handed over in the environment.
std::string expectedFolder() {
    char folder[MAX_PATH] = {};
    GetEnvironmentVariableA("MENDORA_INSTALLED_FOLDER", folder, sizeof folder);
    return folder;
}

class SilentWindow : public updater::UpdateView {
public:
    void trace(const std::string&) override {}
    void setStatus(const std::string&) override {}
    void setItemProgress(int) override {}
    void setOverallProgress(int) override {}
    void disableCheckButton() override {}
    void processMessages() override {}
};

// The application manifest a program carries (resource 1 of type 24); empty
// when it has none.
std::string manifestOf(const std::string& program) {
    const HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "";
    std::string text;
    const HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    if (loaded)
        text.assign(static_cast<const char*>(LockResource(loaded)),
                    SizeofResource(module, resource));
    FreeLibrary(module);
    return text;
}

bool holds(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Each installed program tells Windows what it needs: the programs that
// write the machine's registry and the install folder ask for an
// administrator, so that nothing of theirs lands in a VirtualStore; each
// knows Windows Vista to 11, the themed common controls and the DPI.
TEST(InstalledSuite, EachProgramCarriesItsManifest) {
    const struct {
        const char* program;
        const char* level;
    } programs[] = {{"Mendora.exe", "requireAdministrator"},
                    {"MendoraUpdater.exe", "requireAdministrator"},
                    {"Parleclient.exe", "asInvoker"}};
    for (const auto& p : programs) {
        const std::string manifest = manifestOf(expectedFolder() + p.program);
        ASSERT_FALSE(manifest.empty()) << p.program;
        EXPECT_TRUE(holds(manifest, std::string("level=\"") + p.level + "\"")) << p.program;
        for (const char* windows : {"e2011457-1546-43c5-a5fe-008deee3d3f0",   // Vista
                                    "35138b9a-5d96-4fbd-8e2d-a2440225f93a",   // 7
                                    "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",   // 8
                                    "1f676c76-80e1-4239-95bb-83d0f6d0da78",   // 8.1
                                    "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})  // 10 and 11
            EXPECT_TRUE(holds(manifest, windows)) << p.program << " " << windows;
        EXPECT_TRUE(
            holds(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""))
            << p.program;
        EXPECT_TRUE(holds(manifest, ">true</dpiAware>")) << p.program;
    }
}

TEST(InstalledSuite, MendoraFindsItsFolderAndItsRepairEngine) {
    ASSERT_FALSE(expectedFolder().empty());
    const std::string folder = sysrepair::getSettings()->installFolder();
    EXPECT_EQ(folder, expectedFolder());
    sysrepair::RepairEngine engine;
    EXPECT_EQ(engine.bind(folder), sysrepair::RepairEngine::Binding::Bound);
    engine.unbind();
    // Settings made the backup slots below the install folder.
    const DWORD slot = GetFileAttributesA((folder + "bak\\29\\files").c_str());
    EXPECT_TRUE(slot != INVALID_FILE_ATTRIBUTES && (slot & FILE_ATTRIBUTE_DIRECTORY));
    sysrepair::releaseSettings();
}

TEST(InstalledSuite, TheUpdaterFindsItsListAndItsServer) {
    SilentWindow window;
    std::vector<updater::LumoFile> list;
    updater::loadUpdateList(window, list);
    std::vector<std::string> names;
    for (const updater::LumoFile& file : list) {
        names.push_back(file.name);
        EXPECT_EQ(file.build, MENDORA_VERSION_TEXT) << file.name;
        EXPECT_TRUE(testing_support::fileExists(expectedFolder() + file.name)) << file.name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Mendora.exe", "Parleclient.exe", "rptrnr.dll"}));
    EXPECT_EQ(updater::updateServerAddress(), "http://update.brisklane.com/download.asp");
}

TEST(InstalledSuite, ParleclientFindsItsSoundsAndKeepsItsSettings) {
    const std::string suite = win::appPathFolder(win::kSuiteHostEntry);
    EXPECT_EQ(suite, expectedFolder());
    for (const char* sound :
         {lumonet::receiveSound, lumonet::adminLogonSound, lumonet::clientLogonSound})
        EXPECT_TRUE(testing_support::fileExists(suite + sound)) << sound;
    EXPECT_EQ(chatsession::supportServerHost(), "support.brisklane.com");

    chatclient::ClientDetails saved{"Alice", "alice@example.com", "127.0.0.1", "9191"};
    ASSERT_TRUE(chatclient::saveClientDetailsFile(saved));
    // In the user's own folder, where a standard user may write.
    const std::string details = chatclient::clientDetailsPath();
    EXPECT_EQ(details.rfind(suite, 0), std::string::npos) << details;
    EXPECT_TRUE(testing_support::fileExists(details)) << details;
    chatclient::ClientDetails loaded;
    ASSERT_TRUE(chatclient::loadClientDetailsFile(loaded));
    EXPECT_EQ(loaded.name, "Alice");
    EXPECT_EQ(loaded.email, "alice@example.com");
}

}  // namespace
