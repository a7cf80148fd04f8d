// The last component of a Windows path. Portable: no Win32.
#pragma once

#include <string>

namespace sysrepair {

// The text after the last backslash; a trailing backslash is dropped first
// (C:\dir\ gives dir); a text without a backslash is returned whole.
std::string fileNameOf(const std::string& path);

}  // namespace sysrepair
