// The install folder, the backup folder tree and the backups kept through
// Settings.
#include "repair/settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"

using namespace sysrepair;
using testing_support::fileExists;
using testing_support::folderExists;
using testing_support::ScopedTestFolder;

namespace {

std::string appPathKey() {
    return std::string(testing_support::kAppPathsKey) + "\\" + useOwnInstallEntry();
}

void recordInstallFolder(const std::string& folder) {
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey(appPathKey());
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
        testing_support::deleteKeyTree(HKEY_LOCAL_MACHINE, appPathKey());
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
    testing_support::deleteKeyTree(HKEY_LOCAL_MACHINE, appPathKey());
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
