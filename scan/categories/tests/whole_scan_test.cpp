// Scans of the real categories through the scan threads, as the main window
// runs them.
#include <shlobj.h>
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/message_box.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_environment.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/tests/support/waiting.h"
#include "common/ui/application.h"
#include "scan/categories/categories.h"
#include "scan/categories/clean_net_temp.h"
#include "scan/categories/clean_temp.h"
#include "scan/scan_flags.h"
#include "scan/scan_run.h"
#include "scan/task_manager.h"
#include "scan/tests/support/recording_scan_view.h"
#include "scan/walk/drive_table.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

const char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

class WholeScan : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::Application::initialize());
        createCategories();
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            shown.push_back(r);
            if (!ui::Application::isUiThread()) ++boxesOffUiThread;
            return IDOK;
        });
    }
    void TearDown() override {
        run.stop();
        win::setMessageBoxHandler({});
        EXPECT_EQ(view.callsOffUiThread, 0);
        EXPECT_EQ(boxesOffUiThread, 0);
    }

    void start(const std::vector<ITask*>& tasks) {
        DriveTable::destroy();
        run.prepare(tasks, view);
        run.begin();
    }
    static bool waitForEnd() {
        return waitUntil([] { return scanFinished.load(); }, 600);
    }

    RecordingScanView view;
    ScanRun run;
    std::vector<win::MessageBoxRequest> shown;  // touched on this thread only
    int boxesOffUiThread = 0;
};

TEST_F(WholeScan, ARunOverAllEightCategoriesEndsWithTheirTotal) {
    ScopedTestFolder temp;
    writeOldFile(temp.path() + "forgotten.tmp");
    ScopedVariable variable("TEMP", temp.path().substr(0, temp.path().size() - 1));

    TaskManager* tm = TaskManager::instance();
    std::vector<ITask*> eight;
    for (uint32_t i = 0; i < 8; ++i) eight.push_back(tm->taskAt(i));
    start(eight);
    ASSERT_TRUE(waitForEnd());

    EXPECT_FALSE(view.lines.empty());
    for (const std::string& line : view.logTexts())
        EXPECT_THAT(line, ::testing::StartsWith(" [ Scanned ]      "));
    uint32_t total = 0;
    for (ITask* task : eight) total += task->problemCount();
    EXPECT_GE(CleanTemp::instance()->problemCount(), 1u);
    EXPECT_TRUE(view.resultShown);
    EXPECT_EQ(view.headline, std::to_string(total) + " Possible Problems");
    EXPECT_TRUE(view.repairButtonsVisible);
}

TEST_F(WholeScan, CancellingDuringCustomControlsStopsTheDriveTableAndTheRun) {
    ITask* customControls = TaskManager::instance()->taskAt(0);
    ASSERT_EQ(customControls->name(), "Custom Controls");
    ITask* driveCleaner = TaskManager::instance()->taskAt(1);
    start({customControls, driveCleaner});
    DriveTable* table = nullptr;
    ASSERT_TRUE(waitUntil([&] {
        table = DriveTable::existing();
        return table && table->isBuilding() && !table->currentPath().empty();
    }));
    // While the table is built, the category reports the path it reached.
    const std::string status = customControls->statusText();
    EXPECT_EQ(status.find(":\\"), 1u) << status;
    run.cancel();
    ASSERT_TRUE(waitForEnd());
    EXPECT_FALSE(customControls->isRunning());
    EXPECT_FALSE(table->isBuilding());
    EXPECT_FALSE(table->isComplete());  // the build stopped and left nothing
    EXPECT_EQ(table->fileCount(), 0u);
    EXPECT_NE(TaskManager::instance()->currentTask(), driveCleaner);
    EXPECT_FALSE(view.resultShown);
    DriveTable::destroy();
}

TEST_F(WholeScan, ACategoryThatEndsEarlyListsNothingFromTheRunBefore) {
    // The run before: Internet Cleaner and Drive Cleaner each find a problem.
    char cacheFolder[MAX_PATH + 1] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, cacheFolder, CSIDL_INTERNET_CACHE, TRUE));
    const std::string cache = std::string(cacheFolder) + "\\" + uniqueName("mendora") + "\\";
    ASSERT_TRUE(CreateDirectoryA(cache.c_str(), nullptr));
    writeOldFile(cache + "page.htm");
    ScopedTestFolder firstTemp;
    writeOldFile(firstTemp.path() + "first-run.tmp");
    {
        ScopedVariable variable("TEMP", firstTemp.path().substr(0, firstTemp.path().size() - 1));
        start({CleanNetTemp::instance(), CleanTemp::instance()});
        ASSERT_TRUE(waitForEnd());
    }
    removeTree(cache);
    ASSERT_EQ(CleanNetTemp::instance()->problemCount(), 1u);
    ASSERT_EQ(CleanTemp::instance()->problemCount(), 1u);
    ASSERT_TRUE(shown.empty());

    // This run: the cache folder setting names a folder that cannot be made,
    // so Internet Cleaner ends before it scans. Its message reaches the user
    // on the user-interface thread, it lists nothing, and the run goes on.
    ScopedTestFolder folder;
    writeFile(folder.path() + "plain-file", "x");
    ScopedRegistryValue setting(HKEY_CURRENT_USER, kUserShellFolders, "Cache");
    setting.setString(folder.path() + "plain-file\\cache");
    ScopedTestFolder secondTemp;
    writeOldFile(secondTemp.path() + "second-run.tmp");
    ScopedVariable variable("TEMP", secondTemp.path().substr(0, secondTemp.path().size() - 1));
    view.lines.clear();
    start({CleanNetTemp::instance(), CleanTemp::instance()});
    ASSERT_TRUE(waitForEnd());

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Error Retrieving Internet Cache Folder");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].flags, UINT(MB_OK));
    EXPECT_EQ(CleanNetTemp::instance()->problemCount(), 0u);
    EXPECT_EQ(CleanTemp::instance()->problemCount(), 1u);
    EXPECT_EQ(view.headline, "1 Possible Problems");
    // The log starts afresh: no status of the run before.
    for (const std::string& line : view.logTexts())
        EXPECT_EQ(line.find("first-run"), std::string::npos) << line;
}

}  // namespace
