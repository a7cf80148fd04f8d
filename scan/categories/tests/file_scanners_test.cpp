#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/tests/support/test_environment.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"
#include "scan/categories/categories.h"
#include "scan/categories/clean_net_temp.h"
#include "scan/categories/clean_temp.h"
#include "scan/categories/file_checks.h"
#include "scan/categories/recent_documents.h"
#include "scan/categories/shortcut_paths.h"
#include "scan/problem_reason.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

std::set<std::string> entryPaths(ITask* task) {
    std::vector<TaskEntry*> entries;
    task->getEntries(entries);
    std::set<std::string> paths;
    for (TaskEntry* e : entries) {
        EXPECT_EQ(e->type, EntryFile);
        EXPECT_EQ(e->fields.size(), 1u);
        paths.insert(e->fields[0]);
    }
    return paths;
}

std::set<std::string> pathsBelow(ITask* task, const std::string& folder) {
    std::set<std::string> mine;
    for (const std::string& p : entryPaths(task))
        if (p.rfind(folder, 0) == 0) mine.insert(p);
    return mine;
}

class FileScanners : public ::testing::Test {
protected:
    static void SetUpTestSuite() { createCategories(); }
    void SetUp() override { TaskManager::instance()->clearSeen(); }
};

TEST(NotAccessedToday, ComparesTheLastAccessDateWithToday) {
    ScopedTestFolder folder;
    const std::string file = folder.path() + "a.tmp";
    writeFile(file, "x");
    ASSERT_TRUE(setLastAccess(file, 0));
    EXPECT_FALSE(notAccessedToday(file));
    ASSERT_TRUE(setLastAccess(file, -1));
    EXPECT_TRUE(notAccessedToday(file));
    ASSERT_TRUE(setLastAccess(file, -400));
    EXPECT_TRUE(notAccessedToday(file));
    // A clock that ran ahead is no sign that the file went unused.
    ASSERT_TRUE(setLastAccess(file, 40));
    EXPECT_FALSE(notAccessedToday(file));
}

TEST(NotAccessedToday, FilesThatCannotBeOpenedExclusivelyAreNotOld) {
    ScopedTestFolder folder;
    const std::string file = folder.path() + "busy.tmp";
    writeOldFile(file);
    {
        win::FileHandle held(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held.valid());
        EXPECT_FALSE(notAccessedToday(file));
    }
    EXPECT_TRUE(notAccessedToday(file));
    EXPECT_FALSE(notAccessedToday(folder.path() + "missing.tmp"));
    EXPECT_FALSE(notAccessedToday(folder.path()));
}

TEST_F(FileScanners, DriveCleanerListsOldFilesOfTheTemporaryTreeOnly) {
    ScopedTestFolder temp;
    writeFile(temp.path() + "today.tmp", "new");
    ASSERT_TRUE(setLastAccess(temp.path() + "today.tmp", 0));
    writeOldFile(temp.path() + "old.tmp");
    writeOldFile(temp.path() + "busy.tmp");
    CreateDirectoryA((temp.path() + "sub").c_str(), nullptr);
    writeOldFile(temp.path() + "sub\\deep.tmp");
    win::FileHandle held(CreateFileA((temp.path() + "busy.tmp").c_str(), GENERIC_READ,
                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));

    ScopedVariable variable("TEMP", temp.path().substr(0, temp.path().size() - 1));
    EXPECT_TRUE(CleanTemp::instance()->scan());
    EXPECT_EQ(entryPaths(CleanTemp::instance()),
              (std::set<std::string>{temp.path() + "old.tmp", temp.path() + "sub\\deep.tmp"}));
    EXPECT_FALSE(CleanTemp::instance()->isRunning());
}

TEST_F(FileScanners, DriveCleanerWithoutTemporaryFolderFindsNothing) {
    ScopedVariable variable("TEMP", "");
    SetEnvironmentVariableA("TEMP", nullptr);
    EXPECT_TRUE(CleanTemp::instance()->scan());
    EXPECT_EQ(CleanTemp::instance()->problemCount(), 0u);
}

TEST_F(FileScanners, InternetCleanerCountsAllUnusedFilesAsOneProblem) {
    char cache[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, cache, CSIDL_INTERNET_CACHE, TRUE));
    std::string folder = std::string(cache) + "\\" + uniqueName("mendora") + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));

    EXPECT_TRUE(CleanNetTemp::instance()->scan());
    EXPECT_TRUE(pathsBelow(CleanNetTemp::instance(), folder).empty());
    EXPECT_FALSE(CleanNetTemp::instance()->marker());

    for (int i = 0; i < 5; ++i) writeOldFile(folder + "page" + std::to_string(i) + ".htm");
    TaskManager::instance()->clearSeen();
    EXPECT_TRUE(CleanNetTemp::instance()->scan());
    EXPECT_EQ(pathsBelow(CleanNetTemp::instance(), folder).size(), 5u);
    EXPECT_EQ(CleanNetTemp::instance()->problemCount(), 1u);
    removeTree(folder);
}

TEST_F(FileScanners, BrokenShortcutsAnywhereOnTheFixedDrivesAreListed) {
    ScopedTestFolder folder;
    writeFile(folder.path() + "target.txt", "t");
    writeFile(folder.path() + "kept.txt", "k");
    ASSERT_TRUE(makeShortcut(folder.path() + "broken.lnk", folder.path() + "target.txt"));
    ASSERT_TRUE(makeShortcut(folder.path() + "UPPER.LNK", folder.path() + "target.txt"));
    ASSERT_TRUE(makeShortcut(folder.path() + "fine.lnk", folder.path() + "kept.txt"));
    writeFile(folder.path() + "x.lnk", "no shortcut at all");
    CreateDirectoryA((folder.path() + "dir.lnk").c_str(), nullptr);
    writeFile(folder.path() + "dir.lnk\\readme", "r");
    DeleteFileA((folder.path() + "target.txt").c_str());

    DriveTable::destroy();  // a fresh table that sees the new files
    EXPECT_TRUE(ShortcutPaths::instance()->scan());
    EXPECT_EQ(pathsBelow(ShortcutPaths::instance(), folder.path()),
              (std::set<std::string>{folder.path() + "broken.lnk", folder.path() + "UPPER.LNK"}));
    EXPECT_TRUE(DriveTable::instance()->isComplete());
    std::vector<TaskEntry*> found;
    ShortcutPaths::instance()->getEntries(found);
    for (const TaskEntry* e : found) {
        if (e->path().rfind(folder.path(), 0) != 0) continue;
        EXPECT_EQ(problemReason(*e),
                  "the shortcut's target " + folder.path() + "target.txt does not exist");
    }
}

TEST(ShortcutIsBroken, OnlyATargetThatIsCertainlyGone) {
    ScopedTestFolder folder;
    const auto brokenLink = [&](const std::string& name, const std::string& target) {
        const std::string link = folder.path() + name;
        EXPECT_TRUE(makeShortcut(link, target)) << target;
        return shortcutIsBroken(link);
    };
    // Gone from a fixed drive: the file, or a folder on its path.
    EXPECT_TRUE(brokenLink("file.lnk", folder.path() + "gone.doc"));
    EXPECT_TRUE(brokenLink("folder.lnk", "D:\\mendora-missing\\gone.doc"));
    // A network drive (the test build tree) or a drive that is not there may
    // only be out of reach.
    EXPECT_FALSE(brokenLink("network.lnk", "Y:\\mendora-missing\\gone.doc"));
    EXPECT_FALSE(brokenLink("absent.lnk", "Q:\\mendora-missing\\gone.doc"));

    // A lookup proves nothing but that the file or a folder of its path is
    // not found, and only on a fixed drive.
    EXPECT_TRUE(lookupSaysGone(DRIVE_FIXED, ERROR_FILE_NOT_FOUND));
    EXPECT_TRUE(lookupSaysGone(DRIVE_FIXED, ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(lookupSaysGone(DRIVE_FIXED, ERROR_ACCESS_DENIED));
    EXPECT_FALSE(lookupSaysGone(DRIVE_FIXED, ERROR_NOT_READY));
    EXPECT_FALSE(lookupSaysGone(DRIVE_REMOVABLE, ERROR_NOT_READY));
    EXPECT_FALSE(lookupSaysGone(DRIVE_CDROM, ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(lookupSaysGone(DRIVE_REMOTE, ERROR_FILE_NOT_FOUND));
}

TEST_F(FileScanners, ABrokenShortcutInRecentIsKeptByTheCategoryThatRunsFirst) {
    // The Recent folder the shell names (in the roaming application data
    // since Vista), not the profile's old "recent".
    char shellRecent[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, shellRecent, CSIDL_RECENT, TRUE));
    const std::string recent = std::string(shellRecent) + "\\";
    char profile[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, profile, CSIDL_PROFILE, TRUE));
    ASSERT_NE(recent, std::string(profile) + "\\recent\\");
    const bool made = CreateDirectoryA(recent.c_str(), nullptr) != 0;
    ScopedTestFolder targets;
    const std::string link = recent + uniqueName("mendora") + ".lnk";
    ASSERT_TRUE(makeShortcut(link, targets.path() + "gone.doc"));
    ASSERT_TRUE(setLastAccess(link, -3));

    DriveTable::destroy();
    // A fresh link may be read once more by the platform after it was saved
    // (Wine's menu builder, where it runs), which makes it "used today"
    // again; set its time until it holds.
    for (int i = 0; i < 10 && entryPaths(RecentDocuments::instance()).count(link) == 0; ++i) {
        TaskManager::instance()->clearSeen();
        ASSERT_TRUE(setLastAccess(link, -3));
        EXPECT_TRUE(RecentDocuments::instance()->scan());
    }
    EXPECT_TRUE(ShortcutPaths::instance()->scan());  // same run: seen already
    EXPECT_EQ(entryPaths(RecentDocuments::instance()).count(link), 1u);
    EXPECT_EQ(entryPaths(ShortcutPaths::instance()).count(link), 0u);
    // The shortcut scan read the link but left it unused, so that a repair
    // still finds it as Recent Documents found it.
    EXPECT_TRUE(notAccessedToday(link));

    TaskManager::instance()->clearSeen();
    EXPECT_TRUE(ShortcutPaths::instance()->scan());  // a new run without Recent first
    EXPECT_EQ(entryPaths(ShortcutPaths::instance()).count(link), 1u);

    DeleteFileA(link.c_str());
    if (made) RemoveDirectoryA(recent.c_str());
}

}  // namespace
