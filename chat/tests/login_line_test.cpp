#include "chat/login_line.h"

#include <gtest/gtest.h>

#include "chat/system_info.h"
#include "common/suite_registry.h"
#include "common/tests/support/test_registry.h"

using testing_support::ScopedTestKey;

namespace {

TEST(LoginLine, ReadsAsTheServerExpects) {
    lumonet::SystemInfo info;
    info.windowsKind = 6;
    info.cpuMhz = 800;
    info.installation.secondReferral = "xy";
    EXPECT_EQ(
        lumonet::composeLoginLine("Alice", "alice@example.com", lumonet::systemInfoText(info)),
        " /$winClient USER Alice PASS alice@example.com BLV1000 "
        "UGI:6__CPU:800__ori:1000__dref:xy__tdai:0__version:UnKnown");
}

TEST(LoginLine, InstallationValuesReplaceTheDefaults) {
    lumonet::SystemInfo info;
    info.windowsKind = 7;
    info.installation = {"2040", "ab", 31, "4.2.1"};
    EXPECT_EQ(lumonet::systemInfoText(info),
              "UGI:7__CPU:-1__ori:2040__dref:ab__tdai:31__version:4.2.1");
    info.installation = lumonet::InstallationValues();
    EXPECT_EQ(lumonet::systemInfoText(info),
              "UGI:7__CPU:-1__ori:1000__dref:md__tdai:0__version:UnKnown");
}

TEST(SystemInfo, InstallationValuesComeFromTheRegistry) {
    ScopedTestKey key(HKEY_CURRENT_USER);
    key.setString(win::kReferralValue, "5150");
    key.setString(win::kSecondReferralValue, "zq");
    const DWORD tdai = 42;
    key.setValue(win::kTdaiValue, REG_DWORD, &tdai, sizeof tdai);
    key.setString(win::kVersionValue, "3.0 build 17");
    const lumonet::InstallationValues values =
        lumonet::readInstallationValues(key.root(), key.path());
    EXPECT_EQ(values.referral, "5150");
    EXPECT_EQ(values.secondReferral, "zq");
    EXPECT_EQ(values.tdai, 42);
    EXPECT_EQ(values.version, "3.0 build 17");
}

TEST(SystemInfo, MissingOrOddInstallationValuesFallBack) {
    ScopedTestKey key(HKEY_CURRENT_USER);
    key.setString(win::kTdaiValue, "77");
    const DWORD number = 9;
    key.setValue(win::kReferralValue, REG_DWORD, &number, sizeof number);  // wrong type: ignored
    lumonet::InstallationValues values = lumonet::readInstallationValues(key.root(), key.path());
    EXPECT_EQ(values.tdai, 77) << "a number kept as text";
    EXPECT_EQ(values.referral, "");
    EXPECT_EQ(values.version, "");

    key.setString(win::kTdaiValue, "7x");
    EXPECT_EQ(lumonet::readInstallationValues(key.root(), key.path()).tdai, 0);

    values = lumonet::readInstallationValues(key.root(), key.path() + "\\missing");
    EXPECT_EQ(lumonet::systemInfoText(lumonet::SystemInfo{1, 2, values}),
              "UGI:1__CPU:2__ori:1000__dref:md__tdai:0__version:UnKnown");
}

}  // namespace
