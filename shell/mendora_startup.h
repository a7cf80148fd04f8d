// Mendora from start to end: one running copy, the process recorded in the
// registry, the start switch, the windows, the message loop and the release
// of the process-wide objects.
#pragma once

#include <string>

namespace sysrepair {

// Whether the whole argument text asks for a window that stays on top: it
// must be exactly "-source=vs".
bool isStayOnTopSwitch(const std::string& arguments);

// Runs the program; the process exit code: 0 after a normal end, -1 when a
// copy already runs or the registry cannot be written.
int runMendora(const std::string& arguments);

}  // namespace sysrepair
