// The names of Windows Vista and later: the release (from the version, the
// product type and, where 10 and 11 or the servers share 10.0, the build)
// and the edition (from GetProductInfo's product number). Pure.
#pragma once

#include <cstdint>
#include <string>

namespace sysinfo {

// "Windows 11", "Windows Server 2012 R2", ...; for a version this program
// does not know, "Windows " and the version numbers.
std::string modernReleaseName(uint32_t major, uint32_t minor, uint32_t build, uint32_t productType);

// "Pro", "Home Premium", "Datacenter", ...; empty for a product number this
// program does not know.
std::string editionName(uint32_t productInfo, uint32_t major);

}  // namespace sysinfo
