// The short form of a scanner's status text that goes into the scan log.
#pragma once

#include <string>

namespace sysrepair {

// A registry path (starting with "HKEY", any case) keeps its last three
// components (the whole text without a backslash, the part after the last
// backslash with one or two); any other text gives its last path component.
std::string shortStatus(const std::string& text);

}  // namespace sysrepair
