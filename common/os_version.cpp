#include "common/os_version.h"

#include <windows.h>

#include "common/windows_kind.h"

namespace win {

OsVersion::OsVersion() {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof extended;
    auto* record = reinterpret_cast<OSVERSIONINFOA*>(&extended);
    if (!GetVersionExA(record)) {
        record->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!GetVersionExA(record)) return;
    }
    platformFamily = platformFamilyOf(record->dwPlatformId);
    osCode = windowsKindCode(record->dwPlatformId, record->dwMajorVersion, record->dwMinorVersion);
}

}  // namespace win
