#include "sysinfo/uptime_text.h"

#include <cstdio>

namespace sysinfo {

std::string uptimeText(uint32_t millisecondsSinceStart) {
    const uint32_t seconds = millisecondsSinceStart / 1000;
    const uint32_t days = seconds / 86400;
    const uint32_t ofDay = seconds % 86400;
    char time[16];
    std::snprintf(time, sizeof time, "%02u:%02u:%02u", static_cast<unsigned>(ofDay / 3600),
                  static_cast<unsigned>(ofDay / 60 % 60), static_cast<unsigned>(ofDay % 60));
    if (days == 0) return time;
    if (days == 1) return std::string("1 day ") + time;
    return std::to_string(days) + " days " + time;
}

}  // namespace sysinfo
