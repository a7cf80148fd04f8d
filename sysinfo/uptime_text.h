// How long Windows has been running, as the Windows information window
// shows it: "04:05:06", "1 day 04:05:06" or "3 days 04:05:06".
#pragma once

#include <cstdint>
#include <string>

namespace sysinfo {

std::string uptimeText(uint32_t millisecondsSinceStart);

}  // namespace sysinfo
