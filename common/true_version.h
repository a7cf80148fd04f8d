// The version of the running Windows as the kernel reports it. Since
// Windows 8.1 the version query answers a program with what its manifest
// claims to know (6.2 without one, 10.0 on Windows 11 as well); the kernel's
// own record does not lie.
#pragma once

#include <windows.h>

namespace win {

// Fills the record (dwOSVersionInfoSize set by the caller to the extended or
// the short size) with the kernel's numbers: version, build, platform, service
// pack and, for the extended size, product type and suite mask. Falls back to
// GetVersionExA where the kernel's call is missing. False when neither
// answers.
bool readTrueVersion(OSVERSIONINFOA& record);

// The product type of GetProductInfo (PRODUCT_PROFESSIONAL and the others),
// or 0 where the call is missing (before Vista) or knows no product.
DWORD readProductInfo(DWORD major, DWORD minor, DWORD servicePackMajor, DWORD servicePackMinor);

}  // namespace win
