// Mendora run from a script: the commands of shell/command_line.h carried
// out without a window and without waiting for a person. What a window would
// say goes to the console Mendora was started from (or the output it was
// given) and into the JSON report.
#pragma once

#include "shell/command_line.h"

namespace sysrepair {

// Carries out a command other than Command::Window; the process exit code
// (shell/command_line.h).
int runCommand(const CommandLine& line);

}  // namespace sysrepair
