// Checks of single files made by the file and folder scanners.
#pragma once

#include <string>

#include "scan/task_entry.h"

namespace sysrepair {

// Whether the file was last used before today (UTC dates). False for a file
// that cannot be opened exclusively: missing, a folder, or held open by
// another program. When it was not used and `found` is given, the entry
// records the file's size and last write (and that it was found unused).
bool notAccessedToday(const std::string& path, TaskEntry* found = nullptr);

// Records the file's size and last write in the entry; false when they
// cannot be read.
bool stampFile(const std::string& path, TaskEntry& found);

// Whether a shortcut file cannot be resolved to its target. A file that is
// no shortcut is not broken, and neither is one whose target may only be out
// of reach (see lookupSaysGone). For a broken one, `target` receives the
// target path the shortcut holds (empty when it holds none).
bool shortcutIsBroken(const std::string& path, std::string* target = nullptr);

// Whether a failed lookup of a path proves that it does not exist: only on a
// fixed drive (a network, removable or absent drive may just be out of
// reach), and only when the file or a folder on its path is not found
// (access denied, a drive not ready and other errors prove nothing).
bool lookupSaysGone(unsigned driveType, unsigned long lookupError);

}  // namespace sysrepair
