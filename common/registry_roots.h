// Conversion between the registry root names that problem entries carry and
// the predefined root key handles that backup files store.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// Exact, case-sensitive match of one of the five root names; any other text
// gives HKEY_LOCAL_MACHINE.
HKEY rootFromName(const std::string& name);
// The name of one of the five roots; any other handle gives
// "HKEY_LOCAL_MACHINE".
std::string nameFromRoot(HKEY root);

}  // namespace win
