#include "common/app_path.h"

#include <gtest/gtest.h>

#include "common/registry_reader_writer.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/test_registry.h"

namespace {

class AppPathTest : public ::testing::Test {
protected:
    AppPathTest() : exeName(testing_support::uniqueName("MendoraTest") + ".exe") {
        reg.setRoot(HKEY_LOCAL_MACHINE);
        reg.setKey(std::string(testing_support::kAppPathsKey) + "\\" + exeName);
    }
    ~AppPathTest() override {
        testing_support::deleteKeyTree(HKEY_LOCAL_MACHINE,
                                       std::string(testing_support::kAppPathsKey) + "\\" + exeName);
    }

    std::string exeName;
    win::RegistryReaderWriter reg;
};

TEST_F(AppPathTest, RecordedFolderIsReturnedAsStored) {
    ASSERT_TRUE(reg.writeString("C:\\Program Files\\Mendora\\", "Path"));
    EXPECT_EQ(win::appPathFolder(exeName), "C:\\Program Files\\Mendora\\");
    ASSERT_TRUE(reg.writeString("D:\\Tools", "Path"));
    EXPECT_EQ(win::appPathFolder(exeName), "D:\\Tools");
}

TEST_F(AppPathTest, MissingEmptyOrOverlongPathGivesTheCurrentFolder) {
    EXPECT_EQ(win::appPathFolder(exeName), ".\\");  // no entry at all
    ASSERT_TRUE(reg.writeString("C:\\x.exe", ""));
    EXPECT_EQ(win::appPathFolder(exeName), ".\\");  // entry without Path
    ASSERT_TRUE(reg.writeString("", "Path"));
    EXPECT_EQ(win::appPathFolder(exeName), ".\\");
    ASSERT_TRUE(reg.writeString(std::string(270, 'p'), "Path"));
    EXPECT_EQ(win::appPathFolder(exeName), ".\\");
}

}  // namespace
