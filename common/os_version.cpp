#include "common/os_version.h"

#include <windows.h>

#include "common/true_version.h"
#include "common/windows_kind.h"

namespace win {

OsVersion::OsVersion() {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof extended;
    auto* record = reinterpret_cast<OSVERSIONINFOA*>(&extended);
    if (!readTrueVersion(*record)) {
        record->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!readTrueVersion(*record)) return;
    }
    platformFamily = platformFamilyOf(record->dwPlatformId);
    osCode = windowsKindCode(record->dwPlatformId, record->dwMajorVersion, record->dwMinorVersion);
    reportedKind = reportedWindowsKind(record->dwPlatformId, record->dwMajorVersion,
                                       record->dwMinorVersion, extended.wProductType);
}

}  // namespace win
