// Scans of the real categories through the scan threads, as the main window
// runs them.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/message_box.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_environment.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/waiting.h"
#include "common/ui/application.h"
#include "scan/categories/categories.h"
#include "scan/categories/clean_net_temp.h"
#include "scan/categories/clean_temp.h"
#include "scan/scan_flags.h"
#include "scan/scan_run.h"
#include "scan/task_manager.h"
#include "scan/tests/recording_scan_view.h"
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
        setMessageBoxHandler([this](const MessageBoxRequest& r) {
            shown.push_back(r);
            if (!ui::Application::isUiThread()) ++boxesOffUiThread;
            return IDOK;
        });
    }
    void TearDown() override {
        run.stop();
        setMessageBoxHandler({});
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
    std::vector<MessageBoxRequest> shown;  // touched on this thread only
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

TEST_F(WholeScan, AScannerMessageIsShownOnTheUiThreadAndTheRunGoesOn) {
    // A cache folder setting that names a folder which cannot be made.
    ScopedTestFolder folder;
    writeFile(folder.path() + "plain-file", "x");
    ScopedRegistryValue cache(HKEY_CURRENT_USER, kUserShellFolders, "Cache");
    cache.setString(folder.path() + "plain-file\\cache");
    ScopedTestFolder temp;
    writeOldFile(temp.path() + "after.tmp");
    ScopedVariable variable("TEMP", temp.path().substr(0, temp.path().size() - 1));

    start({CleanNetTemp::instance(), CleanTemp::instance()});
    ASSERT_TRUE(waitForEnd());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Error Retrieving Internet Cache Folder");
    EXPECT_EQ(shown[0].caption, "Error");
    EXPECT_EQ(shown[0].flags, UINT(MB_OK));
    // The next category ran all the same.
    EXPECT_EQ(CleanTemp::instance()->problemCount(), 1u);
    EXPECT_EQ(view.headline, "1 Possible Problems");
}

}  // namespace
