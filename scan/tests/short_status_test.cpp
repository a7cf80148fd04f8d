#include "scan/short_status.h"

#include <gtest/gtest.h>

using sysrepair::shortStatus;

namespace {

TEST(ShortStatus, RegistryPathsKeepTheirLastThreeComponents) {
    EXPECT_EQ(shortStatus("HKEY_CLASSES_ROOT\\CLSID\\{0002}\\InProcServer32\\(default)"),
              "{0002}\\InProcServer32\\(default)");
    EXPECT_EQ(shortStatus("HKEY_LOCAL_MACHINE\\A\\B\\C"), "A\\B\\C");
    EXPECT_EQ(shortStatus("hkey_current_user\\A\\B\\C\\D"), "B\\C\\D");  // any case
}

TEST(ShortStatus, ShortRegistryPathsKeepTheirLastComponentOrAll) {
    EXPECT_EQ(shortStatus("HKEY_CLASSES_ROOT"), "HKEY_CLASSES_ROOT");
    EXPECT_EQ(shortStatus("HKEY_CLASSES_ROOT\\CLSID"), "CLSID");
    EXPECT_EQ(shortStatus("HKEY_CLASSES_ROOT\\CLSID\\{1}"), "{1}");
    EXPECT_EQ(shortStatus("HKEY_CLASSES_ROOT\\"), "");
}

TEST(ShortStatus, PathsGiveTheirLastComponent) {
    EXPECT_EQ(shortStatus("C:\\WINDOWS\\Fonts\\arial.ttf"), "arial.ttf");
    EXPECT_EQ(shortStatus("C:\\Documents\\Recent\\"), "Recent");
    EXPECT_EQ(shortStatus("arial.ttf"), "arial.ttf");
    EXPECT_EQ(shortStatus("HKE\\x"), "x");  // too short to be a registry path
    EXPECT_EQ(shortStatus(""), "");
}

}  // namespace
