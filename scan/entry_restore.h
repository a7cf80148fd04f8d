// The undo of one entry against the file system and the registry.
#pragma once

#include "scan/task_entry.h"

namespace sysrepair {

// Puts back what the entry names: copies a backed-up file back (never over an
// existing file), makes a folder or a key, or writes a value. Stops the
// program when there is no entry.
bool restoreTaskEntry(const TaskEntry* entry);

}  // namespace sysrepair
