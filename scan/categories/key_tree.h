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

// Gives the entries of the list from `first` on the reason of the key whose
// tree they are: they were found as one problem.
void shareReason(BasicTask::EntryList& list, size_t first, const std::string* reason);

// "the server file C:\x.dll does not exist", or for a bare file name that no
// folder of the search path holds, "... is not in any folder of the search
// path".
std::string missingFileReason(const std::string& what, const std::string& path);

}  // namespace sysrepair
