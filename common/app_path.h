// Where the installer put a program: the "Path" value of its App Paths entry.
#pragma once

#include <string>

// The stored folder text as it is (normally with a trailing backslash), or
// ".\" when the entry, the value or its text is missing, empty or longer than
// the registry helper reads.
std::string appPathFolder(const std::string& exeName);
