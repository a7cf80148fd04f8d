// The list of backups and its index file on disk.
#include "repair/backup_index.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/tests/support/test_files.h"

using namespace sysrepair;
using testing_support::ScopedTestFolder;

namespace {

BackupIndex::BackupEntry backup(int32_t time, const std::string& folder,
                                const std::string& summary = "1 Missing System Fonts") {
    BackupIndex::BackupEntry e;
    e.time = time;
    e.folder = folder;
    e.summary = summary;
    return e;
}

const std::string kInstall = "C:\\Mendora\\";

std::string slot(int n) {
    return kInstall + "bak\\" + std::to_string(n);
}

TEST(BackupIndex, ThirtyFirstBackupDropsTheOldest) {
    BackupIndex index;
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(index.nextFolder(kInstall, 30), slot(i));
        index.add(backup(i, index.nextFolder(kInstall, 30)));
    }
    ASSERT_EQ(index.size(), 30u);
    // Every slot is in use: the next repair reuses the oldest backup's slot.
    EXPECT_EQ(index.nextFolder(kInstall, 30), slot(0));
    index.add(backup(30, index.nextFolder(kInstall, 30)));
    ASSERT_EQ(index.size(), 30u);
    EXPECT_EQ(index.at(0).time, 30);
    EXPECT_EQ(index.at(0).folder, slot(0));
    EXPECT_EQ(index.at(29).time, 1);
    EXPECT_EQ(index.nextFolder(kInstall, 30), slot(1));

    index.removeNewest();
    EXPECT_EQ(index.at(0).time, 29);
    EXPECT_EQ(index.nextFolder(kInstall, 30), slot(0));
}

TEST(BackupIndex, NextFolderFillsGapsAndComparesExactly) {
    BackupIndex index;
    EXPECT_EQ(index.nextFolder(kInstall, 30), slot(0));
    index.add(backup(1, slot(0)));
    index.add(backup(2, slot(2)));
    EXPECT_EQ(index.nextFolder(kInstall, 30), slot(1));
    // Another spelling of slot 1 does not occupy it.
    index.add(backup(3, "c:\\mendora\\bak\\1"));
    EXPECT_EQ(index.nextFolder(kInstall, 30), slot(1));
    index.removeNewest();
    index.removeNewest();
    index.removeNewest();
    index.removeNewest();  // on an empty list: nothing happens
    EXPECT_EQ(index.size(), 0u);
}

TEST(BackupIndexFile, RoundTripKeepsOrderTimesAndEmptySummaries) {
    ScopedTestFolder folder;
    const std::string path = folder.path() + "index.vsi";
    BackupIndex index;
    index.add(backup(-1, slot(0), ""));
    index.add(
        backup(1100000000, slot(1), "2 Missing System Fonts, 1 Files in Recent Documents Folder"));
    index.add(backup(0x7FFFFFFF, slot(2)));
    ASSERT_TRUE(index.write(path));
    EXPECT_FALSE(testing_support::fileExists(path + ".new"));

    BackupIndex back;
    ASSERT_TRUE(back.read(path));
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.at(i).time, index.at(i).time);
        EXPECT_EQ(back.at(i).folder, index.at(i).folder);
        EXPECT_EQ(back.at(i).summary, index.at(i).summary);
    }
}

TEST(BackupIndexFile, FortyFiveRecordsLoadThirty) {
    ScopedTestFolder folder;
    const std::string path = folder.path() + "index.vsi";
    BackupIndex big;
    big.maxEntries = 45;
    for (int i = 0; i < 45; ++i) big.add(backup(i, slot(i)));
    ASSERT_TRUE(big.write(path));

    BackupIndex index;
    ASSERT_TRUE(index.read(path));
    ASSERT_EQ(index.size(), 30u);
    EXPECT_EQ(index.at(0).time, 44);
    EXPECT_EQ(index.at(29).time, 15);
}

TEST(BackupIndexFile, MissingOrForeignFileLeavesTheListAlone) {
    ScopedTestFolder folder;
    BackupIndex index;
    index.add(backup(7, slot(0)));
    EXPECT_FALSE(index.read(folder.path() + "missing.vsi"));
    testing_support::writeFile(folder.path() + "foreign.vsi", "MZ\x90\x00 not an index");
    EXPECT_FALSE(index.read(folder.path() + "foreign.vsi"));
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index.at(0).time, 7);
}

TEST(BackupIndexFile, AFailedWriteLeavesTheOldIndexWhole) {
    ScopedTestFolder folder;
    const std::string path = folder.path() + "index.vsi";
    BackupIndex index;
    index.add(backup(1, slot(0)));
    ASSERT_TRUE(index.write(path));
    const std::string before = testing_support::readFile(path);

    // The new contents cannot be written beside the index: the write fails
    // as a full disk would make it fail, before the old index is touched.
    ASSERT_TRUE(CreateDirectoryA((path + ".new").c_str(), nullptr));
    index.add(backup(2, slot(1)));
    EXPECT_FALSE(index.write(path));
    EXPECT_EQ(testing_support::readFile(path), before);
    RemoveDirectoryA((path + ".new").c_str());

    // A leftover of a write that was cut off is neither read nor in the way.
    testing_support::writeFile(path + ".new", "VSI\x05");
    BackupIndex back;
    ASSERT_TRUE(back.read(path));
    EXPECT_EQ(back.size(), 1u);
    ASSERT_TRUE(index.write(path));
    ASSERT_TRUE(back.read(path));
    EXPECT_EQ(back.size(), 2u);
}

}  // namespace
