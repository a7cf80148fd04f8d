// How the restore dialog shows when a backup was made.
#pragma once

#include <cstdint>
#include <string>

namespace sysrepair {

// The time (seconds since 1970-01-01 00:00 UTC) in local time, as
// "11/09/04 at 11:33 AM"; empty when it cannot be converted.
std::string backupDateText(int32_t time);

}  // namespace sysrepair
