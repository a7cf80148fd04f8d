// The eight categories as the task manager knows them.
#include "scan/categories/categories.h"

#include <gtest/gtest.h>

#include "scan/categories/custom_controls.h"
#include "scan/categories/recent_documents.h"
#include "scan/categories/shortcut_paths.h"
#include "scan/task_manager.h"

using namespace sysrepair;

namespace {

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
    }
    EXPECT_EQ(tm->taskAt(0), CustomControls::instance());
    EXPECT_EQ(tm->taskAt(7), ShortcutPaths::instance());
    EXPECT_EQ(tm->taskAt(tm->taskCount()), nullptr);
}

TEST(BasicTaskState, ScanMakesTheCategoryCurrentAndLeavesItIdle) {
    createCategories();
    ITask* task = RecentDocuments::instance();
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

}  // namespace
