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
    uint32_t productInfo = 0;     // GetProductInfo's product, 0 when unknown (Vista and later)
    uint32_t updateRevision = 0;  // the build's update revision, 0 when unknown (10 and later)
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
    // The edition's registry name ("EditionID"), asked for Vista and later
    // when the product is not one this program names.
    std::function<bool(std::string& edition)> readEditionId;
};

// Windows 2000 to Server 2003 and the 9x family are named as they always
// were; Vista and later by name (10 and 11 told apart by the build), edition
// and build.
// False when the texts cannot be made (the product type of a short record
// cannot be read).
bool makeOsTexts(const VersionRecord& record, const OsFacts& facts, OsTexts& texts);

}  // namespace sysinfo
