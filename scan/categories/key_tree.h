// Records everything below a registry key as entries, so that a repair that
// deletes the key can be undone value by value.
#pragma once

#include <windows.h>

#include <string>

#include "scan/task.h"

namespace sysrepair {

// Appends, for root\keyPath, its values (as raw entries) and then each
// subkey's whole tree followed by the subkey itself. The key itself gets no
// entry. Entries the run has seen already are left out. The caller holds
// the list's entries lock.
void recordKeyTree(BasicTask::EntryList& list, HKEY root, const std::string& keyPath);

}  // namespace sysrepair
