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
    EXPECT_EQ(chatclient::clientDetailsPath(), suite + "settings\\clientInfo.dat");
    chatclient::ClientDetails loaded;
    ASSERT_TRUE(chatclient::loadClientDetailsFile(loaded));
    EXPECT_EQ(loaded.name, "Alice");
    EXPECT_EQ(loaded.email, "alice@example.com");
}

}  // namespace
