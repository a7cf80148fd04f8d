// The restore dialog over backups made by real repairs: its rows, what a
// restore undoes and removes, and a slot with nothing to restore.
#include "shell/restore_form.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <ctime>

#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/ui/synchronize.h"
#include "repair/backup_date.h"
#include "repair/settings.h"
#include "shell/tests/restore_support.h"

using namespace sysrepair;
using namespace restore_testing;
using namespace testing_support;

namespace {

int32_t localTime(int year, int month, int day, int hour, int minute) {
    std::tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return static_cast<int32_t>(std::mktime(&t));
}

TEST(BackupDate, IsLocalTimeOnATwelveHourClock) {
    EXPECT_EQ(backupDateText(localTime(2004, 11, 9, 11, 33)), "11/09/04 at 11:33 AM");
    EXPECT_EQ(backupDateText(localTime(2004, 11, 9, 23, 5)), "11/09/04 at 11:05 PM");
    EXPECT_EQ(backupDateText(localTime(2010, 1, 2, 0, 7)), "01/02/10 at 12:07 AM");
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

class RestoreDialog : public ::testing::Test {
protected:
    // One repair of `count` help values and one file, all named after `tag`.
    void repairOf(int count, const std::string& tag) {
        HeldProblems help("Windows Help Files", "Missing Windows Help Files");
        for (int i = 0; i < count; ++i) {
            const std::string name = tag + std::to_string(i) + ".hlp";
            key.setString(name, "C:\\help-" + tag);
            TaskEntry e;
            e.type = EntryRegText;
            e.fields = {"HKEY_CURRENT_USER", key.path(), name, "STRING", "C:\\help-" + tag};
            help.hold(e);
        }
        writeFile(files.path() + tag + ".txt", "contents of " + tag);
        TaskEntry file;
        file.fields = {files.path() + tag + ".txt"};
        help.hold(file);
        install.repair({&help});
    }

    bool valueExists(const std::string& name) {
        RegValue value;
        return readValue(HKEY_CURRENT_USER, key.path(), name, value);
    }

    TestInstallation install;
    ScopedTestKey key;
    ScopedTestFolder files;
};

TEST_F(RestoreDialog, ListsEveryBackupNewestFirstAndUndoesOnlyTheNewest) {
    repairOf(1, "a");
    repairOf(2, "b");
    repairOf(3, "c");
    Settings* settings = getSettings();
    const auto backups = settings->backups();
    ASSERT_EQ(backups.size(), 3u);
    const std::string newest = settings->newestBackupFolder();
    EXPECT_EQ(newest, install.folder() + "bak\\2");
    EXPECT_FALSE(valueExists("c0.hlp"));
    EXPECT_FALSE(fileExists(files.path() + "c.txt"));

    {
        TScanRestoreForm form;
        EXPECT_EQ(form.caption(), "Restore previous system state");
        EXPECT_EQ(form.clientWidth(), 520);
        EXPECT_EQ(form.clientHeight(), 279);
        EXPECT_EQ(form.GroupBox1.text(), "Previous Changes");
        EXPECT_EQ(form.TeListView1.left(), 16);  // 8, 16 inside the group
        EXPECT_EQ(form.TeListView1.top(), 48);
        EXPECT_EQ(SendMessageA(form.TeListView1.handle(), LVM_GETCOLUMNWIDTH, 0, 0), 150);
        EXPECT_EQ(SendMessageA(form.TeListView1.handle(), LVM_GETCOLUMNWIDTH, 1, 0), 250);
        EXPECT_EQ(SendMessageA(form.TeListView1.handle(), LVM_GETCOLUMNWIDTH, 2, 0), 60);
        EXPECT_EQ(form.TeButton1.text(), "Restore Last Changes");
        EXPECT_EQ(form.TeButton2.text(), "Cancel");
        form.show();
        EXPECT_EQ(form.Label1.text(),
                  "Click Restore to undo the last changes made to your system.");
        ASSERT_EQ(form.TeListView1.count(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(form.TeListView1.itemText(i, 0), backupDateText(backups[i].time));
            EXPECT_EQ(form.TeListView1.itemText(i, 1), backups[i].summary);
        }
        EXPECT_EQ(form.TeListView1.itemText(0, 1), "4 Missing Windows Help Files");
        EXPECT_EQ(form.TeListView1.itemText(2, 1), "2 Missing Windows Help Files");
        // The changes each backup holds: the values and the file.
        EXPECT_EQ(form.TeListView1.itemText(0, 2), "4");
        EXPECT_EQ(form.TeListView1.itemText(2, 2), "2");
        EXPECT_EQ(form.TeListView1.selected(), 0);
        ASSERT_EQ(form.newestBackup().reports.size(), 1u);
        EXPECT_EQ(form.newestBackup().reports[0].categoryName, "Windows Help Files");

        install.messages.clear();
        form.TeButton1.click();
        for (const char* name : {"c0.hlp", "c1.hlp", "c2.hlp"})
            EXPECT_TRUE(valueExists(name)) << name;
        EXPECT_EQ(readFile(files.path() + "c.txt"), "contents of c");
        EXPECT_FALSE(valueExists("b0.hlp"));
        EXPECT_FALSE(fileExists(files.path() + "b.txt"));
        ASSERT_EQ(install.messages.size(), 1u);
        EXPECT_EQ(install.messages[0].text,
                  "All changes made to your system from the last repair have been undone.");
        EXPECT_EQ(install.messages[0].caption, "System Restored");
        EXPECT_EQ(install.messages[0].owner, form.handle());
        EXPECT_EQ(install.messages[0].flags, UINT(MB_OK));
        EXPECT_FALSE(form.visible());
        EXPECT_TRUE(form.newestBackup().empty());
    }

    // The backup left the index, on disk too, and its slot was emptied.
    EXPECT_EQ(settings->backups().size(), 2u);
    EXPECT_EQ(settings->newestBackupFolder(), install.folder() + "bak\\1");
    BackupIndex onDisk;
    ASSERT_TRUE(onDisk.read(install.folder() + "bak\\index.vsi"));
    EXPECT_EQ(onDisk.size(), 2u);
    EXPECT_EQ(namesIn(newest), std::vector<std::string>{"files"});
    EXPECT_TRUE(folderExists(newest + "\\files"));
    EXPECT_TRUE(namesIn(newest + "\\files").empty());

    // Opened again, the dialog lists the two that are left.
    int rows = -1;
    ASSERT_TRUE(ui::post([&] {
        const HWND dialog = FindWindowA(nullptr, "Restore previous system state");
        const HWND list = FindWindowExA(dialog, nullptr, WC_LISTVIEWA, nullptr);
        rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    }));
    showRestoreDialog();
    EXPECT_EQ(rows, 2);
}

TEST_F(RestoreDialog, AnOlderBackupIsRestoredAloneAndTheOthersStayRestorable) {
    repairOf(1, "a");
    repairOf(2, "b");
    repairOf(3, "c");
    const auto backups = getSettings()->backups();
    ASSERT_EQ(backups.size(), 3u);
    std::vector<win::MessageBoxRequest> asked;
    int answer = IDNO;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
        asked.push_back(r);
        return (r.flags & MB_YESNO) ? answer : IDOK;
    });
    {
        TScanRestoreForm form;
        form.show();
        form.TeListView1.select(1);
        EXPECT_EQ(form.TeButton1.text(), "Restore Selected Changes");
        // Told first what an older restore means; No leaves everything.
        form.TeButton1.click();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].caption, "Restore Older Changes");
        EXPECT_NE(asked[0].text.find("one repair was made"), std::string::npos) << asked[0].text;
        EXPECT_FALSE(valueExists("b0.hlp"));
        EXPECT_TRUE(form.visible());
        answer = IDYES;
        form.TeButton1.click();
        ASSERT_EQ(asked.size(), 3u);
        EXPECT_EQ(asked[2].text, "All changes made to your system from the repair of " +
                                     backupDateText(backups[1].time) + " have been undone.");
    }
    EXPECT_TRUE(valueExists("b0.hlp"));
    EXPECT_TRUE(valueExists("b1.hlp"));
    EXPECT_EQ(readFile(files.path() + "b.txt"), "contents of b");
    EXPECT_FALSE(valueExists("c0.hlp"));
    EXPECT_FALSE(valueExists("a0.hlp"));
    const auto left = getSettings()->backups();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].folder, backups[0].folder);
    EXPECT_EQ(left[1].folder, backups[2].folder);

    // The newest and the oldest still come back, each in its turn.
    for (const char* value : {"c2.hlp", "a0.hlp"}) {
        TScanRestoreForm form;
        form.show();
        EXPECT_EQ(form.TeButton1.text(), "Restore Last Changes");
        form.TeButton1.click();
        EXPECT_TRUE(valueExists(value)) << value;
    }
    EXPECT_EQ(readFile(files.path() + "a.txt"), "contents of a");
    EXPECT_TRUE(getSettings()->backups().empty());
    win::setMessageBoxHandler({});
}

TEST_F(RestoreDialog, NothingToRestoreWithoutBackupsOrWithInternetCleanerAlone) {
    auto expectNothingToRestore = [&] {
        TScanRestoreForm form;
        form.show();
        EXPECT_EQ(form.Label1.text(), "There are no backups to be restored");
        EXPECT_EQ(form.TeListView1.count(), 0);
        install.messages.clear();
        const size_t backups = getSettings()->backups().size();
        form.TeButton1.click();
        EXPECT_TRUE(install.messages.empty());
        EXPECT_TRUE(form.visible());
        EXPECT_EQ(getSettings()->backups().size(), backups);
        form.TeButton2.click();
        EXPECT_FALSE(form.visible());
    };
    expectNothingToRestore();

    // Internet Cleaner's files are not backed up: its slot holds no report.
    writeFile(files.path() + "page.htm", "cached");
    HeldProblems cache("Internet Cleaner", "Unused Internet Files");
    TaskEntry page;
    page.fields = {files.path() + "page.htm"};
    cache.hold(page);
    install.repair({&cache});
    EXPECT_FALSE(fileExists(files.path() + "page.htm"));
    EXPECT_TRUE(getSettings()->backups().empty());  // a backup of nothing is none
    expectNothingToRestore();
}

}  // namespace
