// The updater's file-name encoding: a path relative to the install folder
// written without folder separators. Pure.
#pragma once

#include <string>

namespace updater {

// Every "~" becomes "\" and every "+" becomes "..": "+~tools~x.dll" is
// "..\tools\x.dll", the file x.dll of the folder tools beside the install
// folder.
std::string decodeFileName(const std::string& encoded);

}  // namespace updater
