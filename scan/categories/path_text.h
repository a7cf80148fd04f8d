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

}  // namespace sysrepair
