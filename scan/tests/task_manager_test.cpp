#include "task_manager.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "child_process.h"

#include "categories.h"
#include "clean_net_temp.h"
#include "custom_controls.h"
#include "shortcut_paths.h"

using namespace sysrepair;

namespace {

TaskEntry fileEntry(const std::string& path) {
    TaskEntry e;
    e.fields = {path};
    return e;
}

TEST(Categories, AreRegisteredOnceInTheirFixedOrder) {
    createCategories();
    createCategories();  // a second call makes nothing new
    TaskManager* tm = TaskManager::instance();
    ASSERT_GE(tm->taskCount(), 8u);
    const struct {
        const char* name;
        const char* description;
        uint8_t level;
    } expected[] = {
        {"Custom Controls", "Missing COM/DLL/OCX Components", 3},
        {"Drive Cleaner", "Unused Temporary Files", 0},
        {"Installed Software", "Missing Software Applications", 3},
        {"Windows System Fonts", "Missing System Fonts", 2},
        {"Internet Cleaner", "Unused Internet Files", 0},
        {"Windows Help Files", "Missing Windows Help Files", 2},
        {"Recent Documents", "Files in Recent Documents Folder", 0},
        {"Windows Shortcuts", "Missing or Invalid Shortcuts", 2},
    };
    for (uint32_t i = 0; i < 8; ++i) {
        ITask* task = tm->taskAt(i);
        ASSERT_NE(task, nullptr);
        EXPECT_EQ(task->name(), expected[i].name);
        EXPECT_EQ(task->description(), expected[i].description);
        EXPECT_EQ(task->level(), expected[i].level);
        EXPECT_TRUE(task->marker());
    }
    EXPECT_EQ(tm->taskAt(0), CustomControls::instance());
    EXPECT_EQ(tm->taskAt(7), ShortcutPaths::instance());
    EXPECT_EQ(tm->taskAt(tm->taskCount()), nullptr);
}

TEST(AcceptEntry, FirstFinderInARunKeepsTheProblem) {
    TaskManager* tm = TaskManager::instance();
    tm->clearSeen();
    EXPECT_TRUE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\a.tmp")));
    EXPECT_TRUE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\b.tmp")));
    EXPECT_FALSE(tm->acceptEntry(fileEntry("c:\\temp\\cache\\A.TMP")));
    EXPECT_FALSE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\a.tmp")));  // still a duplicate

    TaskEntry folder = fileEntry("C:\\Temp\\Cache\\a.tmp");
    folder.type = EntryFolder;
    EXPECT_TRUE(tm->acceptEntry(folder));

    tm->clearSeen();  // the next run starts afresh
    EXPECT_TRUE(tm->acceptEntry(fileEntry("C:\\Temp\\Cache\\a.tmp")));
}

TEST(AcceptEntry, RawValuesWithOtherBytesAreBothKept) {
    TaskManager* tm = TaskManager::instance();
    tm->clearSeen();
    TaskEntry a, b;
    a.fields = b.fields = {"HKEY_CLASSES_ROOT", "CLSID\\{1}", "v"};
    a.setRawValue(3, "\x01", 1);
    b.setRawValue(3, "\x02", 1);
    EXPECT_TRUE(tm->acceptEntry(a));
    EXPECT_TRUE(tm->acceptEntry(b));
    EXPECT_FALSE(tm->acceptEntry(b));
}

TEST(BasicTaskState, ScanMakesTheCategoryCurrentAndLeavesItIdle) {
    createCategories();
    ITask* task = ShortcutPaths::instance();
    EXPECT_FALSE(task->isRunning());
    EXPECT_TRUE(task->scan());
    EXPECT_EQ(TaskManager::instance()->currentTask(), task);
    EXPECT_FALSE(task->isRunning());
    task->reset();
    EXPECT_EQ(task->problemCount(), 0u);
    EXPECT_EQ(task->progress(), 0.0f);
    EXPECT_EQ(task->statusText(), "");
    std::vector<TaskEntry*> entries{nullptr};
    task->getEntries(entries);
    EXPECT_TRUE(entries.empty());
}

CHILD_SCENARIO(restoreWithoutCategories) {
    TaskManager::instance()->restoreEntries({});
}

TEST(RestoreEntries, StopsTheProgramWithoutAnyCategory) {
    const auto child = testing_support::runChild("restoreWithoutCategories");
    EXPECT_EQ(child.exitCode, 3u);
    EXPECT_THAT(child.output, ::testing::HasSubstr("task != NULL, file taskManager, line 1118"));
}

}  // namespace
