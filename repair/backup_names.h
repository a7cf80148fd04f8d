// Which files of a backup slot belong to the backup. Portable: no Win32.
#pragma once

#include <string>

namespace sysrepair {

extern const char kReportExtension[];  // ".srb"
extern const char kCopyExtension[];    // ".bak"

// True when the text from the first dot of the name to its end equals the
// extension (with its dot), ASCII letters compared without regard to case.
// "x.SRB" has the extension ".srb"; "x.old.srb" has ".old.srb".
bool hasExtensionFromFirstDot(const std::string& name, const std::string& extension);

}  // namespace sysrepair
