#include "common/windows_kind.h"

namespace win {

int32_t platformFamilyOf(uint32_t platformId) {
    return platformId == kPlatformNt ? 4 : 0;
}

int32_t windowsKindCode(uint32_t platformId, uint32_t major, uint32_t minor) {
    switch (platformId) {
        case kPlatformWin32s:
            return 0;
        case kPlatformWindows9x:
            if (major == 4 && minor == 0) return 1;
            if (major == 4 && minor == 10) return 2;
            if (major == 4 && minor == 90) return 3;
            return 0;
        case kPlatformNt:
            if (major <= 4) return 4;
            if (major == 5 && minor == 0) return 5;
            if (major == 5 && minor == 1) return 6;
            if (major == 5 && minor == 2) return 7;
            return 0;
        default:
            return 0;
    }
}

int32_t reportedWindowsKind(uint32_t platformId, uint32_t major, uint32_t minor,
                            uint32_t productType) {
    if (platformId == kPlatformNt && major >= 6) return productType == kWorkstationProduct ? 6 : 7;
    return windowsKindCode(platformId, major, minor);
}

}  // namespace win
