// The three texts that name the running Windows in the Windows information
// window: platform, version (edition) and service pack. Pure: a function of
// the version record and of two registry facts that only old NT systems
// need, so that every branch is tested on any machine.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace sysinfo {

struct VersionRecord {
    bool extended = false;  // the extended record (product type, suite mask) was obtained
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
    std::string servicePack;  // the record's service-pack text
    uint32_t productType = 0;
    uint32_t suiteMask = 0;
};

struct OsTexts {
    std::string platform;
    std::string version;
    std::string servicePack;
};

struct OsFacts {
    // The "ProductType" value of the product options, asked only when the
    // short record is all there is; false when it cannot be read.
    std::function<bool(std::string& productType)> readProductType;
    // Whether the hotfix key of Service Pack 6a exists; asked only for
    // Windows NT 4.0 with Service Pack 6.
    std::function<bool()> hasServicePack6aHotfix;
};

// False when the texts cannot be made (the product type of a short record
// cannot be read).
bool makeOsTexts(const VersionRecord& record, const OsFacts& facts, OsTexts& texts);

}  // namespace sysinfo
