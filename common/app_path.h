// Where the installer put a program of the suite: the "Path" value of its App
// Paths entry, in the view of the suite's records (common/suite_records.h).
#pragma once

#include <string>

namespace win {

// The stored folder text as it is (normally with a trailing backslash), or
// ".\" when the entry, the value or its text is missing, empty or longer than
// the registry helper reads.
std::string appPathFolder(const std::string& exeName);

// The App Paths entry that records Mendora's install folder, read by Mendora
// and its updater: "Mendora.exe". A test program names an entry of its own,
// so that test programs running side by side never share one.
std::string mendoraEntryName();
void setMendoraEntryName(const std::string& exeName);

}  // namespace win
