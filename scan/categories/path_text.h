// Text and path rules shared by the scanners that follow registry references
// to files.
#pragma once

#include <string>

#include "scan/file_name.h"

namespace sysrepair {

// Drops double quotes and replaces each %NAME% with the value of that
// environment variable; an undefined variable and "%%" give the empty text.
std::string expandText(const std::string& text);

// Whether the path names an existing file, as it stands or in one of the
// folders of the "Path" environment variable. A path too long for the file
// system calls counts as existing: a registration is never reported missing
// when its file could not be checked.
bool fileExistsOnPath(const std::string& path);

// The file a registry text names for the programs of the view it was read
// in, in `path`: expanded (expandText) for the process's own view; for the
// 32-bit view that a 64-bit Mendora reads beside its own, as a 32-bit
// program sees it (pathAs32BitProgramSeesIt, with this machine's folders).
// False when that cannot be told with certainty.
bool referencedPath(const std::string& text, bool of32BitView, std::string& path);

// Whether the file `referencedPath` gave exists, as fileExistsOnPath does;
// a path of the 32-bit view is absolute and checked as it stands.
bool referencedFileExists(const std::string& path, bool of32BitView);

}  // namespace sysrepair
