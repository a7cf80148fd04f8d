// Checks of single files made by the file and folder scanners.
#pragma once

#include <string>

namespace sysrepair {

// Whether the file was last used before today (UTC dates). False for a file
// that cannot be opened exclusively: missing, a folder, or held open by
// another program.
bool notAccessedToday(const std::string& path);

// Whether a shortcut file cannot be resolved to its target. A file that is
// no shortcut is not broken.
bool shortcutIsBroken(const std::string& path);

}  // namespace sysrepair
