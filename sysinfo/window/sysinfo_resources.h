// Resource numbers of the system-information pictures (sysinfo/art).
#pragma once

#define SYSINFO_INFO_IMAGES 3001
#define SYSINFO_DEVICES_ICON 3002
