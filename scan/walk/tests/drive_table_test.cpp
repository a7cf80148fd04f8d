#include "scan/walk/drive_table.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/tests/support/test_files.h"
#include "common/tests/support/test_registry.h"

using namespace sysrepair;

namespace {

TEST(DriveTable, IsOneTableUntilDestroyed) {
    DriveTable::destroy();  // another test may have built one
    DriveTable* table = DriveTable::instance();
    EXPECT_EQ(DriveTable::instance(), table);
    EXPECT_FALSE(table->isComplete());
    DriveTable::destroy();
    DriveTable::destroy();  // nothing left to delete
    EXPECT_NE(DriveTable::instance(), nullptr);
    DriveTable::destroy();
}

// The test prefix has two fixed drives, C: and D: (a folder of the prefix);
// the build tree is a network drive and stays out.
TEST(DriveTable, WalksEachFixedDriveInTheOrderListed) {
    ASSERT_EQ(GetDriveTypeA("C:\\"), static_cast<UINT>(DRIVE_FIXED));
    ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_FIXED))
        << "the test prefix lacks its second fixed drive";
    const std::string marker = "D:\\" + testing_support::uniqueName("drive-table") + ".txt";
    testing_support::writeFile(marker, "");

    DriveTable::destroy();
    DriveTable* table = DriveTable::instance();
    table->build();
    ASSERT_TRUE(table->isComplete());

    const std::size_t count = table->fileCount();
    ASSERT_GT(count, 2u);
    EXPECT_EQ(table->fileAt(0), "C:\\");
    std::size_t d = 0;
    while (d < count && table->fileAt(d) != "D:\\") ++d;
    ASSERT_LT(d, count) << "drive D: was not walked";
    for (std::size_t i = 0; i < count; ++i) {
        const std::string path = table->fileAt(i);
        ASSERT_EQ(path.substr(0, 3), i < d ? "C:\\" : "D:\\") << path << " at " << i;
    }
    EXPECT_TRUE(table->contains(marker));
    EXPECT_TRUE(table->contains("C:\\windows\\system32\\kernel32.dll"));
    EXPECT_EQ(table->fileAt(count), "");

    DriveTable::destroy();
    DeleteFileA(marker.c_str());
}

}  // namespace
