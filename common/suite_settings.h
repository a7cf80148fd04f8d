// The settings an installer or an administrator leaves in the suite's key
// (common/suite_registry.h).
#pragma once

#include <string>

namespace win {

// The text value `name` of the suite's key, or `fallback` when it is missing,
// unreadable or empty.
std::string readSuiteSetting(const char* name, const std::string& fallback);

}  // namespace win
