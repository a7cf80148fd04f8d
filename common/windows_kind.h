// How the programs classify a Windows version. Pure: a function of the
// version record's numbers, so that every branch is tested on any machine.
#pragma once

#include <cstdint>

namespace win {

// Platform ids of the version record.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWindows9x = 1;
constexpr uint32_t kPlatformNt = 2;

// The platform family: 4 for the NT platform, 0 for Win32s and Windows
// 95/98/Me.
int32_t platformFamilyOf(uint32_t platformId);

// The Windows kind code: 0 Win32s, 1 Windows 95, 2 Windows 98, 3 Windows
// Millennium Edition, 4 Windows NT 4.0 or older, 5 Windows 2000, 6 Windows
// XP, 7 Windows Server 2003; 0 for any other version.
int32_t windowsKindCode(uint32_t platformId, uint32_t major, uint32_t minor);

// The kind code the chat login line reports. Support servers know only the
// codes above; a newer NT (Vista and later) is reported as the newest kind
// they know of its sort: 6 (XP) for a workstation, 7 (Server 2003 family)
// for a server or domain controller. 0 would read as Win32s.
constexpr uint32_t kWorkstationProduct = 1;
int32_t reportedWindowsKind(uint32_t platformId, uint32_t major, uint32_t minor,
                            uint32_t productType);

}  // namespace win
