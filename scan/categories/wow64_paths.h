// How a file reference of the 32-bit registry view reads for the 32-bit
// programs that use it on 64-bit Windows, where their environment names the
// (x86) Program Files folders and the file system redirects System32 to
// SysWOW64. Portable: no Win32; the machine's folders are passed in.
#pragma once

#include <functional>
#include <string>

namespace sysrepair {

// The folders a 64-bit program knows; an empty one is not known.
struct Wow64Folders {
    std::string windows;          // %SystemRoot%
    std::string programFilesX86;  // %ProgramFiles(x86)%
    std::string commonFilesX86;   // %CommonProgramFiles(x86)%
};

// The value of an environment variable; false when it is not defined.
using EnvironmentLookup = std::function<bool(const std::string& name, std::string& value)>;

// Drops double quotes and replaces each %NAME% with the variable's value; an
// undefined variable and "%%" give the empty text. `defined` turns false
// when a variable was undefined.
std::string expandVariables(const std::string& text, const EnvironmentLookup& environment,
                            bool& defined);

// The absolute path that a 32-bit program opens for the registry text
// `text`, in `path`. False when that cannot be told with certainty: an
// undefined variable, a name or relative path that the program would look
// for along its own search path, a folder of System32 that Windows keeps
// out of the redirection (their list differs between versions), or a
// device path.
bool pathAs32BitProgramSeesIt(const std::string& text, const Wow64Folders& folders,
                              const EnvironmentLookup& environment, std::string& path);

}  // namespace sysrepair
