// What the user is told about a found problem: why it was found and how much
// disk space it takes. Portable: no Win32.
#pragma once

#include <cstdint>
#include <string>

#include "scan/task_entry.h"

namespace sysrepair {

// The reason a scan gave the entry: its own words, or for a file found
// unused "last used on 2021-03-04, not today". Empty for an entry read back
// from a backup.
std::string problemReason(const TaskEntry& entry);

// The UTC date of a FILETIME value (100 ns units since 1601) as YYYY-MM-DD.
std::string utcDateText(uint64_t fileTime);

// The bytes a file problem takes on the disk as its scan found it; 0 for
// registry entries and files whose size the scan did not read.
uint64_t problemBytes(const TaskEntry& entry);

// A size for people: "0 bytes", "512 bytes", "1.5 KB", "45.2 MB", "3.1 GB"
// (units of 1,024).
std::string byteCountText(uint64_t bytes);

}  // namespace sysrepair
