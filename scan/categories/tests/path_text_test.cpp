#include "scan/categories/path_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "common/tests/support/test_environment.h"
#include "common/tests/support/test_files.h"

using namespace sysrepair;
using namespace testing_support;

namespace {

TEST(ExpandText, DropsQuotesAndExpandsVariables) {
    ScopedVariable root("MENDORA_TEST_ROOT", "C:\\windows");
    EXPECT_EQ(expandText("\"%MENDORA_TEST_ROOT%\\system32\\x.dll\""),
              "C:\\windows\\system32\\x.dll");
    EXPECT_EQ(expandText("a%MENDORA_TEST_ROOT%b%MENDORA_TEST_ROOT%"), "aC:\\windowsbC:\\windows");
    EXPECT_EQ(expandText("no variables"), "no variables");
    EXPECT_EQ(expandText("\"\""), "");
}

TEST(ExpandText, UndefinedEmptyAndUnterminatedVariablesGiveNothing) {
    SetEnvironmentVariableA("MENDORA_TEST_UNDEFINED", nullptr);
    EXPECT_EQ(expandText("x%MENDORA_TEST_UNDEFINED%y"), "xy");
    EXPECT_EQ(expandText("100%%done"), "100done");
    ScopedVariable tail("MENDORA_TEST_TAIL", "T");
    EXPECT_EQ(expandText("a%MENDORA_TEST_TAIL"), "aT");  // name runs to the end
    EXPECT_EQ(expandText("a%"), "a");
}

TEST(ExpandText, LongNamesAndValuesAreNeitherCutNorOverrun) {
    const std::string value(5000, 'v');
    ScopedVariable big("MENDORA_TEST_BIG", value);
    EXPECT_EQ(expandText("<%MENDORA_TEST_BIG%>"), "<" + value + ">");
    const std::string longName(400, 'N');
    EXPECT_EQ(expandText("<%" + longName + "%>"), "<>");
}

TEST(FileExistsOnPath, FindsFilesDirectlyOrInAFolderOfPath) {
    ScopedTestFolder folder;
    writeFile(folder.path() + "server.dll", "x");
    CreateDirectoryA((folder.path() + "sub.dll").c_str(), nullptr);

    EXPECT_TRUE(fileExistsOnPath(folder.path() + "server.dll"));
    EXPECT_FALSE(fileExistsOnPath(folder.path() + "sub.dll"));  // a folder is no file
    EXPECT_FALSE(fileExistsOnPath(folder.path() + "gone.dll"));

    std::string dir = folder.path();
    dir.pop_back();
    {
        ScopedVariable path("Path", "C:\\nowhere;" + dir);
        EXPECT_TRUE(fileExistsOnPath("server.dll"));
        EXPECT_FALSE(fileExistsOnPath("gone.dll"));
    }
    {
        // Far longer than any fixed buffer: the last folder still counts.
        ScopedVariable path("Path", std::string(3000, 'x') + ";" + dir);
        EXPECT_TRUE(fileExistsOnPath("server.dll"));
    }
    {
        ScopedVariable path("Path", "");
        EXPECT_FALSE(fileExistsOnPath("server.dll"));
    }
}

TEST(FileExistsOnPath, PathsTooLongToCheckAreNeverCalledMissing) {
    EXPECT_TRUE(fileExistsOnPath("C:\\" + std::string(300, 'a') + "\\x.dll"));
}

TEST(FileNameOf, TakesTheLastComponent) {
    EXPECT_EQ(fileNameOf("C:\\windows\\system32\\x.dll"), "x.dll");
    EXPECT_EQ(fileNameOf("C:\\dir\\"), "dir");
    EXPECT_EQ(fileNameOf("x.dll"), "x.dll");
    EXPECT_EQ(fileNameOf(""), "");
}

}  // namespace
