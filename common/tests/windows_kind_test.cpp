#include "common/windows_kind.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowsKind, CodesAndFamiliesOfEveryPlatform) {
    EXPECT_EQ(win::windowsKindCode(0, 3, 10), 0);
    EXPECT_EQ(win::windowsKindCode(1, 4, 0), 1);
    EXPECT_EQ(win::windowsKindCode(1, 4, 10), 2);
    EXPECT_EQ(win::windowsKindCode(1, 4, 90), 3);
    EXPECT_EQ(win::windowsKindCode(2, 3, 51), 4);
    EXPECT_EQ(win::windowsKindCode(2, 4, 0), 4);
    EXPECT_EQ(win::windowsKindCode(2, 5, 0), 5);
    EXPECT_EQ(win::windowsKindCode(2, 5, 1), 6);
    EXPECT_EQ(win::windowsKindCode(2, 5, 2), 7);
    EXPECT_EQ(win::windowsKindCode(2, 6, 1), 0) << "newer versions are not classified";
    EXPECT_EQ(win::windowsKindCode(1, 4, 3), 0);
    EXPECT_EQ(win::windowsKindCode(3, 5, 1), 0) << "an unknown platform";

    EXPECT_EQ(win::platformFamilyOf(0), 0);
    EXPECT_EQ(win::platformFamilyOf(1), 0);
    EXPECT_EQ(win::platformFamilyOf(2), 4);
}

// The login line names a Windows newer than the table by the newest kind of
// its sort, and every listed one as the table does.
TEST(WindowsKind, TheLoginLineReportsNewerWindowsAsTheNewestKindOfItsSort) {
    EXPECT_EQ(win::reportedWindowsKind(2, 10, 0, 1), 6) << "Windows 10 and 11";
    EXPECT_EQ(win::reportedWindowsKind(2, 6, 0, 1), 6) << "Vista";
    EXPECT_EQ(win::reportedWindowsKind(2, 10, 0, 3), 7) << "Server 2016 to 2022";
    EXPECT_EQ(win::reportedWindowsKind(2, 6, 1, 2), 7) << "a domain controller";
    EXPECT_EQ(win::reportedWindowsKind(2, 5, 2, 1), 7) << "XP x64 keeps its 5.2 code";
    EXPECT_EQ(win::reportedWindowsKind(2, 5, 1, 1), 6);
    EXPECT_EQ(win::reportedWindowsKind(1, 4, 10, 0), 2);
}

}  // namespace
