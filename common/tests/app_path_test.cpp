#include "common/app_path.h"

#include <gtest/gtest.h>

#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "common/suite_settings.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_registry.h"

namespace {

class AppPathTest : public ::testing::Test {
protected:
    AppPathTest()
        : exeName(testing_support::uniqueName("MendoraTest") + ".exe"),
          reg(win::appPathsEntryKey(exeName)) {}
    ~AppPathTest() override {
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, reg.key().c_str(), KEY_WOW64_32KEY, 0);
    }

    std::string exeName;
    win::SuiteRecordKey reg;
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

// The installer, a 32-bit program, writes the suite's records in the 32-bit
// view; a program of either build reads and writes them there, and never
// takes what stands in the 64-bit view for them.
TEST_F(AppPathTest, TheSuitesRecordsAreThoseOfThe32BitViewInEitherBuild) {
    win::RegistryReaderWriter installed;
    installed.setRoot(HKEY_LOCAL_MACHINE);
    installed.setKey(reg.key());
    installed.setView(KEY_WOW64_32KEY);
    ASSERT_TRUE(installed.writeString("C:\\Suite32\\", "Path"));
    EXPECT_EQ(win::appPathFolder(exeName), "C:\\Suite32\\");

    const std::string name = testing_support::uniqueName("setting");
    testing_support::ScopedSuiteValue setting(win::kSuiteKey, name, "written by the suite");
    win::RegistryReaderWriter other;
    other.setRoot(HKEY_LOCAL_MACHINE);
    other.setKey(win::kSuiteKey);
    other.setView(KEY_WOW64_64KEY);
    ASSERT_TRUE(other.writeString("of the 64-bit view", name));
    EXPECT_EQ(win::readSuiteSetting(name.c_str(), "none"), "written by the suite");
    bool read = false;
    installed.setKey(win::kSuiteKey);
    EXPECT_EQ(installed.readString(name, read), "written by the suite");
    other.deleteValue(name);
}

}  // namespace
