// The running Windows, classified once: the platform family that the
// scanners test and the kind code that the chat login line and the Windows
// information window report.
#pragma once

#include <cstdint>

namespace win {

struct OsVersion {
    // From the running Windows' true version (common/true_version.h). When
    // it cannot be read, family and codes stay 0.
    OsVersion();

    int32_t platformFamily = 0;  // 4 for the NT platform, 0 otherwise
    int32_t osCode = 0;          // see windowsKindCode (common/windows_kind.h)
    int32_t reportedKind = 0;    // see reportedWindowsKind, for the chat login line

    bool isNt() const { return platformFamily == 4; }
};

}  // namespace win
