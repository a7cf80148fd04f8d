#include "sysinfo/os_texts.h"

#include <gtest/gtest.h>

#include "sysinfo/uptime_text.h"

namespace {

sysinfo::VersionRecord nt(uint32_t major, uint32_t minor, uint32_t productType, uint32_t suite,
                          const std::string& servicePack = "Service Pack 2",
                          uint32_t build = 3790) {
    sysinfo::VersionRecord r;
    r.extended = true;
    r.platformId = 2;
    r.major = major;
    r.minor = minor;
    r.productType = productType;
    r.suiteMask = suite;
    r.servicePack = servicePack;
    r.build = build;
    return r;
}

sysinfo::VersionRecord nine(uint32_t minor, const std::string& servicePack) {
    sysinfo::VersionRecord r;
    r.extended = true;
    r.platformId = 1;
    r.major = 4;
    r.minor = minor;
    r.servicePack = servicePack;
    r.build = 0x04000A00 | 2222;
    return r;
}

sysinfo::OsTexts texts(const sysinfo::VersionRecord& record, const sysinfo::OsFacts& facts = {}) {
    sysinfo::OsTexts t;
    EXPECT_TRUE(sysinfo::makeOsTexts(record, facts, t));
    return t;
}

struct Expected {
    sysinfo::VersionRecord record;
    const char* platform;
    const char* version;
};

TEST(OsTexts, EveryPlatformProductTypeAndSuite) {
    const Expected cases[] = {
        {nt(5, 1, 1, 0), "Microsoft Windows XP ", "Professional "},
        {nt(5, 1, 1, 0x0200), "Microsoft Windows XP ", "Home Edition "},
        {nt(5, 0, 1, 0x0200), "Microsoft Windows 2000 ", "Home Edition "},
        {nt(4, 0, 1, 0x0200), "Microsoft Windows NT ", "Workstation 4.0 "},
        {nt(5, 2, 3, 0x0082), "Microsoft Windows Server 2003 family, ", "Datacenter Edition "},
        {nt(5, 2, 3, 0x0002), "Microsoft Windows Server 2003 family, ", "Enterprise Edition "},
        {nt(5, 2, 3, 0x0400), "Microsoft Windows Server 2003 family, ", "Web Edition "},
        // The blade value must be the whole mask for the web edition.
        {nt(5, 2, 3, 0x0410), "Microsoft Windows Server 2003 family, ", "Standard Edition "},
        {nt(5, 0, 3, 0x0080), "Microsoft Windows 2000 ", "Datacenter Server "},
        {nt(5, 0, 3, 0x0002), "Microsoft Windows 2000 ", "Advanced Server "},
        {nt(5, 0, 3, 0), "Microsoft Windows 2000 ", "Server "},
        {nt(4, 0, 3, 0x0002), "Microsoft Windows NT ", "Server 4.0, Enterprise Edition "},
        {nt(4, 0, 3, 0), "Microsoft Windows NT ", "Server 4.0 "},
        // A domain controller's product type adds no edition.
        {nt(5, 2, 2, 0x0002), "Microsoft Windows Server 2003 family, ", ""},
        {nine(0, " C"), "Microsoft Windows 95 ", "OSR2 "},
        {nine(0, " B"), "Microsoft Windows 95 ", "OSR2 "},
        {nine(0, " A"), "Microsoft Windows 95 ", ""},
        {nine(10, " A "), "Microsoft Windows 98 ", "SE "},
        {nine(10, ""), "Microsoft Windows 98 ", ""},
        {nine(90, " "), "Microsoft Windows Millennium Edition", ""},
    };
    for (const Expected& c : cases) {
        const sysinfo::OsTexts t = texts(c.record);
        EXPECT_EQ(t.platform, c.platform) << c.record.major << "." << c.record.minor;
        EXPECT_EQ(t.version, c.version) << c.record.major << "." << c.record.minor << " type "
                                        << c.record.productType << " suite " << c.record.suiteMask;
    }
    sysinfo::VersionRecord win32s;
    win32s.platformId = 0;
    EXPECT_EQ(texts(win32s).platform, "Microsoft Win32s");
    // The 9x platform has no service-pack text.
    EXPECT_EQ(texts(nine(10, " A ")).servicePack, "");
}

TEST(OsTexts, ServicePackWithTheLowHalfOfTheBuild) {
    EXPECT_EQ(texts(nt(5, 1, 1, 0, "Service Pack 3", 0x0A280A28)).servicePack,
              "Service Pack 3 (Build 2600)");

    // Service Pack 6 of NT 4.0 becomes 6a when its hotfix is installed; the
    // text without the hotfix ends with a line break.
    int asked = 0;
    sysinfo::OsFacts facts;
    bool hotfix = true;
    facts.hasServicePack6aHotfix = [&] {
        ++asked;
        return hotfix;
    };
    EXPECT_EQ(texts(nt(4, 0, 1, 0, "service pack 6", 1381), facts).servicePack,
              "Service Pack 6a (Build 1381)");
    hotfix = false;
    EXPECT_EQ(texts(nt(4, 0, 1, 0, "Service Pack 6", 1381), facts).servicePack,
              "Service Pack 6 (Build 1381)\n");
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(texts(nt(5, 0, 1, 0, "Service Pack 6", 2195), facts).servicePack,
              "Service Pack 6 (Build 2195)");
    EXPECT_EQ(asked, 2);
}

// Vista and later: the release by version, product type and (for 10.0) build,
// the edition from the product number or else the registry's edition name,
// and the build with its update revision.
TEST(OsTexts, NewerWindowsByReleaseEditionAndBuild) {
    auto modern = [](uint32_t major, uint32_t minor, uint32_t build, uint32_t type,
                     uint32_t product) {
        sysinfo::VersionRecord r = nt(major, minor, type, 0x0100, "", build);
        r.productInfo = product;
        return r;
    };
    const Expected cases[] = {
        {modern(10, 0, 22631, 1, 0x30), "Microsoft Windows 11 ", "Pro "},
        {modern(10, 0, 21999, 1, 0x65), "Microsoft Windows 10 ", "Home "},
        {modern(6, 1, 7601, 1, 0x30), "Microsoft Windows 7 ", "Professional "},
        {modern(6, 3, 9600, 1, 0x04), "Microsoft Windows 8.1 ", "Enterprise "},
        {modern(10, 0, 14393, 3, 0x07), "Microsoft Windows Server 2016 ", "Standard "},
        {modern(10, 0, 17763, 2, 0x08), "Microsoft Windows Server 2019 ", "Datacenter "},
        {modern(10, 0, 20348, 3, 0x50), "Microsoft Windows Server 2022 ", "Datacenter Evaluation "},
        {modern(6, 2, 9200, 3, 0x07), "Microsoft Windows Server 2012 ", "Standard "},
        {modern(12, 1, 30000, 1, 0), "Microsoft Windows 12.1 ", ""},
    };
    for (const Expected& c : cases) {
        const sysinfo::OsTexts t = texts(c.record);
        EXPECT_EQ(t.platform, c.platform) << c.record.build;
        EXPECT_EQ(t.version, c.version) << c.platform;
    }

    sysinfo::VersionRecord r = modern(10, 0, 19045, 1, 0x9999);
    r.updateRevision = 3803;
    sysinfo::OsFacts facts;
    facts.readEditionId = [](std::string& edition) {
        edition = "IoTEnterprise";
        return true;
    };
    const sysinfo::OsTexts t = texts(r, facts);
    EXPECT_EQ(t.version, "IoTEnterprise ");
    EXPECT_EQ(t.servicePack, "(Build 19045.3803)");
    r.servicePack = "Service Pack 1";
    r.updateRevision = 0;
    EXPECT_EQ(texts(r).servicePack, "Service Pack 1 (Build 19045)");
}

TEST(OsTexts, TheShortRecordTakesTheEditionFromTheProductOptions) {
    sysinfo::VersionRecord r = nt(4, 0, 0, 0, "Service Pack 5", 1381);
    r.extended = false;
    std::string productType;
    bool readable = true;
    sysinfo::OsFacts facts;
    facts.readProductType = [&](std::string& type) {
        type = productType;
        return readable;
    };
    const struct {
        const char* type;
        const char* version;
    } cases[] = {{"WinNT", "Workstation 4.0 "},
                 {"LANMANNT", "Server 4.0 "},
                 {"servernt", "Advanced Server 4.0 "},
                 {"Other", "4.0 "}};
    for (const auto& c : cases) {
        productType = c.type;
        const sysinfo::OsTexts t = texts(r, facts);
        EXPECT_EQ(t.platform, "Microsoft Windows NT ");
        EXPECT_EQ(t.version, c.version) << c.type;
        EXPECT_EQ(t.servicePack, "Service Pack 5 (Build 1381)");
    }
    // Without the product options the version cannot be told.
    readable = false;
    sysinfo::OsTexts t;
    EXPECT_FALSE(sysinfo::makeOsTexts(r, facts, t));
}

TEST(Uptime, SecondsDaysAndTheTimeOfDay) {
    EXPECT_EQ(sysinfo::uptimeText(0), "00:00:00");
    EXPECT_EQ(sysinfo::uptimeText(59999), "00:00:59");
    EXPECT_EQ(sysinfo::uptimeText(86399999), "23:59:59");
    EXPECT_EQ(sysinfo::uptimeText(86400000), "1 day 00:00:00");
    EXPECT_EQ(sysinfo::uptimeText((3 * 86400 + 4 * 3600 + 5 * 60 + 6) * 1000u), "3 days 04:05:06");
    // The tick count wraps after 49.7 days.
    EXPECT_EQ(sysinfo::uptimeText(0xFFFFFFFFu), "49 days 17:02:47");
}

}  // namespace
