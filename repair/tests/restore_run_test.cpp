// The undo of the newest backup when its report reads back cut short.
#include "repair/restore_run.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/message_box.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_files.h"
#include "repair/backup_reports.h"
#include "repair/settings.h"
#include "scan/task.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

// The task manager undoes entries only once a category exists.
class AnyCategory : public BasicTask {
public:
    std::string name() override { return "Any"; }
    std::string description() override { return "Anything"; }
    bool scan() override { return true; }
};

TEST(RestoreRun, ADamagedReportKeepsItsCopiesAndTheBackup) {
    static AnyCategory* category = new AnyCategory();
    (void)category;
    ScopedTestFolder install;
    ScopedAppPathsEntry entry(useOwnInstallEntry(), install.path());
    ScopedTestFolder work;
    Settings* settings = getSettings();
    const std::string slot = settings->nextBackupFolder();

    // A repair of two files, whose report was later cut inside its second
    // record.
    std::vector<TaskEntry> found(2);
    found[0].fields = {work.path() + "first.txt"};
    found[1].fields = {work.path() + "second.txt"};
    std::vector<TaskEntry*> pointers;
    for (TaskEntry& e : found) {
        writeFile(e.fields[0], "contents of " + e.fields[0]);
        pointers.push_back(&e);
    }
    ASSERT_TRUE(writeReport(pointers, "Test Files", slot));
    for (const TaskEntry& e : found) DeleteFileA(e.fields[0].c_str());
    settings->addBackup(1000, "2 Unused Test Files");
    SlotBackup backup = readNewestBackup();
    ASSERT_EQ(backup.reports.size(), 1u);
    const std::string reportPath = backup.reports[0].path;
    const std::string copyOfSecond = backup.reports[0].entries[1].fields[1];
    const std::string cut = readFile(reportPath).substr(0, readFile(reportPath).size() - 3);
    writeFile(reportPath, cut);

    backup = readNewestBackup();
    ASSERT_FALSE(backup.reports[0].complete);
    const RestoreResult result = restoreBackup(backup);

    EXPECT_FALSE(result.complete());
    EXPECT_EQ(result.restored, 1u);
    EXPECT_EQ(result.unreadable, 1u);
    EXPECT_EQ(readFile(found[0].fields[0]), "contents of " + found[0].fields[0]);
    // What the report could not give is not lost: report, copies and index
    // entry stay.
    EXPECT_EQ(readFile(reportPath), cut);
    EXPECT_EQ(readFile(copyOfSecond), "contents of " + found[1].fields[0]);
    EXPECT_EQ(settings->backups().size(), 1u);
    const RestoreMessage message = restoreMessage(result);
    EXPECT_EQ(message.caption, "Restore Incomplete");
    EXPECT_THAT(message.text, ::testing::StartsWith("1 of the 2 changes made by the last repair "
                                                    "could not be undone:\n"));
    EXPECT_THAT(message.text,
                ::testing::HasSubstr("1 could not be read: their backup report is damaged"));

    // A second try after all: the first file is in place already.
    const RestoreResult again = restoreBackup(readNewestBackup());
    EXPECT_EQ(again.restored, 1u);
    EXPECT_TRUE(again.notRestored.empty());
    EXPECT_TRUE(fileExists(copyOfSecond));
    releaseSettings();
}

}  // namespace
