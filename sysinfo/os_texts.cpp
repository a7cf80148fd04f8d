#include "sysinfo/os_texts.h"

#include <cctype>
#include <cstdio>

#include "sysinfo/modern_windows_names.h"

namespace sysinfo {

namespace {

constexpr uint32_t kWorkstation = 1;
constexpr uint32_t kServer = 3;
constexpr uint32_t kSuiteEnterprise = 0x0002;
constexpr uint32_t kSuiteDatacenter = 0x0080;
constexpr uint32_t kSuitePersonal = 0x0200;
constexpr uint32_t kSuiteBlade = 0x0400;

bool sameTextIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

void windows9xTexts(const VersionRecord& r, OsTexts& t) {
    const char second = r.servicePack.size() > 1 ? r.servicePack[1] : '\0';
    if (r.major == 4 && r.minor == 0) {
        t.platform += "Microsoft Windows 95 ";
        if (second == 'C' || second == 'B') t.version += "OSR2 ";
    }
    if (r.major == 4 && r.minor == 10) {
        t.platform += "Microsoft Windows 98 ";
        if (second == 'A') t.version += "SE ";
    }
    if (r.major == 4 && r.minor == 90) t.platform += "Microsoft Windows Millennium Edition";
}

void ntPlatformText(const VersionRecord& r, OsTexts& t) {
    if (r.major == 5 && r.minor == 2) t.platform += "Microsoft Windows Server 2003 family, ";
    if (r.major == 5 && r.minor == 1) t.platform += "Microsoft Windows XP ";
    if (r.major == 5 && r.minor == 0) t.platform += "Microsoft Windows 2000 ";
    if (r.major <= 4) t.platform += "Microsoft Windows NT ";
}

void ntEditionFromExtendedRecord(const VersionRecord& r, OsTexts& t) {
    const uint32_t suite = r.suiteMask;
    if (r.productType == kWorkstation) {
        if (r.major == 4)
            t.version += "Workstation 4.0 ";
        else if (suite & kSuitePersonal)
            t.version += "Home Edition ";
        else
            t.version += "Professional ";
    } else if (r.productType == kServer) {
        if (r.major == 5 && r.minor == 2) {
            if (suite & kSuiteDatacenter)
                t.version += "Datacenter Edition ";
            else if (suite & kSuiteEnterprise)
                t.version += "Enterprise Edition ";
            else if (suite == kSuiteBlade)
                t.version += "Web Edition ";
            else
                t.version += "Standard Edition ";
        } else if (r.major == 5 && r.minor == 0) {
            if (suite & kSuiteDatacenter)
                t.version += "Datacenter Server ";
            else if (suite & kSuiteEnterprise)
                t.version += "Advanced Server ";
            else
                t.version += "Server ";
        } else if (suite & kSuiteEnterprise) {
            t.version += "Server 4.0, Enterprise Edition ";
        } else {
            t.version += "Server 4.0 ";
        }
    }
}

bool ntEditionFromProductOptions(const VersionRecord& r, const OsFacts& facts, OsTexts& t) {
    std::string productType;
    if (!facts.readProductType || !facts.readProductType(productType)) return false;
    if (sameTextIgnoringCase(productType, "WINNT")) t.version += "Workstation ";
    if (sameTextIgnoringCase(productType, "LANMANNT")) t.version += "Server ";
    if (sameTextIgnoringCase(productType, "SERVERNT")) t.version += "Advanced Server ";
    char number[32];
    std::snprintf(number, sizeof number, "%d.%d ", static_cast<int>(r.major),
                  static_cast<int>(r.minor));
    t.version += number;
    return true;
}

void ntServicePackText(const VersionRecord& r, const OsFacts& facts, OsTexts& t) {
    const int build = static_cast<int>(r.build & 0xFFFF);
    char text[400];
    if (r.major == 4 && sameTextIgnoringCase(r.servicePack, "Service Pack 6")) {
        if (facts.hasServicePack6aHotfix && facts.hasServicePack6aHotfix())
            std::snprintf(text, sizeof text, "Service Pack 6a (Build %d)", build);
        else
            std::snprintf(text, sizeof text, "%s (Build %d)\n", r.servicePack.c_str(), build);
    } else {
        std::snprintf(text, sizeof text, "%s (Build %d)", r.servicePack.c_str(), build);
    }
    t.servicePack += text;
}

// Vista and later: the release, the edition and the build with its update
// revision, in the manner of the older texts (each piece ends with a blank).
void modernNtTexts(const VersionRecord& r, const OsFacts& facts, OsTexts& t) {
    t.platform += "Microsoft " + modernReleaseName(r.major, r.minor, r.build, r.productType) + " ";
    std::string edition = editionName(r.productInfo, r.major);
    if (edition.empty() && facts.readEditionId && facts.readEditionId(edition) &&
        edition.size() > 64)
        edition.clear();
    if (!edition.empty()) t.version += edition + " ";
    std::string build = std::to_string(r.build & 0xFFFF);
    if (r.updateRevision != 0) build += "." + std::to_string(r.updateRevision);
    if (!r.servicePack.empty()) t.servicePack += r.servicePack + " ";
    t.servicePack += "(Build " + build + ")";
}

}  // namespace

bool makeOsTexts(const VersionRecord& record, const OsFacts& facts, OsTexts& texts) {
    texts = OsTexts{};
    switch (record.platformId) {
        case 0:
            texts.platform += "Microsoft Win32s";
            break;
        case 1:
            windows9xTexts(record, texts);
            break;
        case 2:
            if (record.major >= 6) {
                modernNtTexts(record, facts, texts);
                break;
            }
            ntPlatformText(record, texts);
            if (record.extended)
                ntEditionFromExtendedRecord(record, texts);
            else if (!ntEditionFromProductOptions(record, facts, texts))
                return false;
            ntServicePackText(record, facts, texts);
            break;
        default:
            break;
    }
    return true;
}

}  // namespace sysinfo
