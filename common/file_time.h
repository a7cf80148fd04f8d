// A FILETIME as one number: 100 ns units since 1601-01-01, UTC.
#pragma once

#include <windows.h>

#include <cstdint>

namespace win {

inline uint64_t fileTimeValue(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace win
