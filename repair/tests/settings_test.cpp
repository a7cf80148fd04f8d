// The install folder, the backup folder tree and the backups kept through
// Settings.
#include "repair/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "common/message_box.h"
#include "common/suite_records.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"
#include "repair/backup_reports.h"

using namespace sysrepair;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::ScopedTestFolder;

namespace {

std::string appPathKey() {
    return std::string(testing_support::kAppPathsKey) + "\\" + useOwnInstallEntry();
}

void recordInstallFolder(const std::string& folder) {
    win::SuiteRecordKey reg(appPathKey());
    ASSERT_TRUE(reg.writeString(folder, "Path"));
}

// Creation ends the process when the backup tree cannot be made; the child
// prints the message it was shown.
CHILD_SCENARIO(createSettings) {
    useOwnInstallEntry();
    win::setMessageBoxHandler([](const win::MessageBoxRequest& r) {
        std::printf("[%s|%s|%d]\n", r.text.c_str(), r.caption.c_str(), r.owner == nullptr);
        std::fflush(stdout);
        return IDOK;
    });
    getSettings();
    std::printf("created\n");
    std::fflush(stdout);
}

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() : install(folder.path()) { recordInstallFolder(install); }
    ~SettingsTest() override {
        releaseSettings();
        testing_support::deleteKeyTree(HKEY_LOCAL_MACHINE, appPathKey(), win::kSuiteRecordsView);
    }

    BackupIndex indexOnDisk() {
        BackupIndex index;
        index.read(install + "bak\\index.vsi");
        return index;
    }

    ScopedTestFolder folder;
    std::string install;
};

TEST_F(SettingsTest, FirstRunCreatesTheBackupTree) {
    Settings* settings = getSettings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(getSettings(), settings);
    EXPECT_EQ(settings->installFolder(), install);
    EXPECT_TRUE(folderExists(install + "bak"));
    for (int n = 0; n < 30; ++n) {
        EXPECT_TRUE(folderExists(install + "bak\\" + std::to_string(n) + "\\files")) << n;
    }
    EXPECT_FALSE(folderExists(install + "bak\\30"));
    EXPECT_EQ(settings->indexPath(), install + "bak\\index.vsi");
    EXPECT_FALSE(fileExists(settings->indexPath()));
    EXPECT_TRUE(settings->backups().empty());
    EXPECT_EQ(settings->newestBackupFolder(), "");
    EXPECT_EQ(settings->nextBackupFolder(), install + "bak\\0");
    EXPECT_EQ(settings->sourceTag(), "");
    settings->setSourceTag("vs");
    EXPECT_EQ(settings->sourceTag(), "vs");
    EXPECT_EQ(settings->productsLink().rfind("http://", 0), 0u);

    releaseSettings();
    releaseSettings();  // a second release does nothing
    EXPECT_EQ(indexOnDisk().size(), 0u);
    EXPECT_EQ(testing_support::readFile(install + "bak\\index.vsi"), std::string("VSI\0\0\0\0", 7));
}

TEST_F(SettingsTest, BackupsAreKeptInTheIndexAcrossRuns) {
    CreateDirectoryA((install + "bak").c_str(), nullptr);
    CreateDirectoryA((install + "bak\\0").c_str(), nullptr);
    testing_support::writeFile(install + "bak\\0\\old.srb", "kept");
    BackupIndex earlier;
    BackupIndex::BackupEntry e;
    e.time = 1000;
    e.folder = install + "bak\\0";
    e.summary = "1 Missing System Fonts";
    earlier.add(e);
    ASSERT_TRUE(earlier.write(install + "bak\\index.vsi"));

    Settings* settings = getSettings();
    EXPECT_TRUE(fileExists(install + "bak\\0\\old.srb"));  // existing folders stay as they are
    ASSERT_EQ(settings->backups().size(), 1u);
    EXPECT_EQ(settings->newestBackupFolder(), install + "bak\\0");

    settings->addBackup(2000, "2 Missing Windows Help Files");
    settings->addBackup(3000, "");
    EXPECT_EQ(settings->newestBackupFolder(), install + "bak\\2");
    EXPECT_EQ(indexOnDisk().size(), 3u);  // saved at once
    settings->removeNewestBackup();
    EXPECT_EQ(settings->newestBackupFolder(), install + "bak\\1");
    ASSERT_EQ(indexOnDisk().size(), 2u);
    EXPECT_EQ(indexOnDisk().at(0).summary, "2 Missing Windows Help Files");

    releaseSettings();
    settings = getSettings();
    const auto backups = settings->backups();
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].time, 2000);
    EXPECT_EQ(backups[1].folder, install + "bak\\0");
    EXPECT_EQ(settings->nextBackupFolder(), install + "bak\\2");
}

TEST_F(SettingsTest, ASlotWithReportsButNoRecordIsAdoptedNeverCleared) {
    // A repair stopped before it could record its backup, and writes cut
    // short beside the index and a report.
    for (const char* folder : {"bak", "bak\\0", "bak\\5", "bak\\5\\files"})
        CreateDirectoryA((install + folder).c_str(), nullptr);
    BackupIndex earlier;
    earlier.add({1000, install + "bak\\0", "1 Missing System Fonts"});
    ASSERT_TRUE(earlier.write(install + "bak\\index.vsi"));
    testing_support::writeFile(install + "bak\\index.vsi.new", "half an index");
    TaskEntry folderEntry;
    folderEntry.type = EntryFolder;
    folderEntry.fields = {"C:\\gone"};
    ASSERT_TRUE(writeReport({&folderEntry}, "Recent Documents", install + "bak\\5"));
    testing_support::writeFile(install + "bak\\5\\1.srb.new", "half a report");
    // Two repairs stopped while an old backup waited aside: one before it
    // backed anything up (the old backup goes back), one after (it goes).
    for (const char* folder : {"bak\\7.old", "bak\\7.old\\files", "bak\\3", "bak\\3.old"})
        CreateDirectoryA((install + folder).c_str(), nullptr);
    ASSERT_TRUE(writeReport({&folderEntry}, "Recent Documents", install + "bak\\7.old"));
    ASSERT_TRUE(writeReport({&folderEntry}, "Recent Documents", install + "bak\\3"));
    testing_support::writeFile(install + "bak\\3.old\\1.srb", "given up");

    Settings* settings = getSettings();
    EXPECT_FALSE(testing_support::folderExists(install + "bak\\7.old"));
    EXPECT_FALSE(testing_support::folderExists(install + "bak\\3.old"));
    EXPECT_TRUE(testing_support::folderExists(install + "bak\\7\\files"));
    std::vector<std::vector<TaskEntry>> lists;
    std::vector<std::string> names;
    ASSERT_TRUE(loadReports(install + "bak\\7", lists, names));
    EXPECT_EQ(names, std::vector<std::string>{"Recent Documents"});
    auto backups = settings->backups();
    ASSERT_EQ(backups.size(), 4u);
    for (const char* slot : {"bak\\3", "bak\\7"}) {
        const auto at = std::find_if(backups.begin(), backups.end(),
                                     [&](const auto& b) { return b.folder == install + slot; });
        EXPECT_NE(at, backups.end()) << slot;
        if (at != backups.end()) backups.erase(at);
    }
    ASSERT_EQ(backups.size(), 2u);
    EXPECT_EQ(backups[0].folder, install + "bak\\5");  // newer than the recorded one
    EXPECT_EQ(backups[0].summary, "Unfinished repair");
    EXPECT_GT(backups[0].time, 1000);
    EXPECT_EQ(indexOnDisk().size(), 4u);
    EXPECT_NE(settings->nextBackupFolder(), install + "bak\\5");
    // The report stays; what was cut short beside it goes.
    WIN32_FIND_DATAA found;
    win::FindHandle reports(FindFirstFileA((install + "bak\\5\\*.srb*").c_str(), &found));
    ASSERT_TRUE(reports.valid());
    EXPECT_EQ(std::string(found.cFileName).find(".new"), std::string::npos);
    EXPECT_FALSE(FindNextFileA(reports.get(), &found));
    EXPECT_FALSE(fileExists(install + "bak\\index.vsi.new"));
}

TEST_F(SettingsTest, InstallFolderIsAskedAfreshAndEndsWithABackslash) {
    recordInstallFolder(install.substr(0, install.size() - 1));
    Settings* settings = getSettings();
    EXPECT_EQ(settings->installFolder(), install);
    EXPECT_TRUE(folderExists(install + "bak\\29\\files"));

    recordInstallFolder("D:\\Elsewhere\\");
    EXPECT_EQ(settings->installFolder(), "D:\\Elsewhere\\");
    EXPECT_EQ(settings->nextBackupFolder(), "D:\\Elsewhere\\bak\\0");
    EXPECT_EQ(settings->indexPath(), install + "bak\\index.vsi");  // fixed at creation
}

TEST_F(SettingsTest, WithoutAnInstallFolderEverythingIsBelowTheCurrentFolder) {
    testing_support::deleteKeyTree(HKEY_LOCAL_MACHINE, appPathKey(), win::kSuiteRecordsView);
    char previous[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(install.c_str()));
    Settings* settings = getSettings();
    EXPECT_EQ(settings->installFolder(), ".\\");
    EXPECT_EQ(settings->nextBackupFolder(), ".\\bak\\0");
    EXPECT_EQ(settings->indexPath(), ".\\bak\\index.vsi");
    releaseSettings();
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(folderExists(install + "bak\\29\\files"));
    EXPECT_TRUE(fileExists(install + "bak\\index.vsi"));
}

TEST_F(SettingsTest, FilesFolderThatCannotBeMadeEndsTheProgram) {
    ASSERT_TRUE(CreateDirectoryA((install + "bak").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((install + "bak\\17").c_str(), nullptr));
    testing_support::writeFile(install + "bak\\17\\files", "a file in the way");

    const auto child = testing_support::runChild("createSettings");
    EXPECT_EQ(child.exitCode, 0xFFFFFFFFul);
    EXPECT_NE(child.output.find("[Error Creating folder " + install +
                                "bak\\17\\files, Exit...|Settings::createBackupFolders|1]"),
              std::string::npos)
        << child.output;
    EXPECT_EQ(child.output.find("created"), std::string::npos);
    EXPECT_TRUE(folderExists(install + "bak\\16\\files"));
    EXPECT_FALSE(folderExists(install + "bak\\18"));
    EXPECT_FALSE(fileExists(install + "bak\\index.vsi"));
}

TEST_F(SettingsTest, SlotOrBackupFolderThatCannotBeMadeEndsTheProgram) {
    ASSERT_TRUE(CreateDirectoryA((install + "bak").c_str(), nullptr));
    testing_support::writeFile(install + "bak\\3", "");
    auto child = testing_support::runChild("createSettings");
    EXPECT_EQ(child.exitCode, 0xFFFFFFFFul);
    EXPECT_NE(child.output.find("[Error Creating folder " + install +
                                "bak\\3. Exit...|Settings::createBackupFolders|1]"),
              std::string::npos)
        << child.output;

    testing_support::removeTree(install + "bak");
    testing_support::writeFile(install + "bak", "");
    child = testing_support::runChild("createSettings");
    EXPECT_EQ(child.exitCode, 0xFFFFFFFFul);
    EXPECT_NE(child.output.find("[Cant create backup folder|Permission Denied|1]"),
              std::string::npos)
        << child.output;
    EXPECT_EQ(child.output.find("created"), std::string::npos);
}

}  // namespace
