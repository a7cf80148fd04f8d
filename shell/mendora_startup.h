// Mendora from start to end: a command of the command line
// (shell/command_line.h), or the window: one running copy, the process
// recorded in the registry, the start switch, the windows, the message loop
// and the release of the process-wide objects.
#pragma once

#include <string>

namespace sysrepair {

// Runs the program; the process exit code: for the window 0 after a normal
// end, -1 when a copy already runs or the registry cannot be written; for a
// command its own (shell/command_line.h).
int runMendora(const std::string& arguments);

}  // namespace sysrepair
