// The Windows folder, as Mendora's scanners look it up.
#pragma once

#include <string>

namespace win {

enum class WindowsFolderLookup {
    Found,
    NtLookupFailed,      // the shell's special-folder lookup failed (NT platform)
    LegacyLookupFailed,  // GetWindowsDirectoryA failed (other platforms)
};

// On the NT platform through the shell's special folder, elsewhere through
// GetWindowsDirectoryA. Shows nothing: the callers word their own messages.
WindowsFolderLookup findWindowsFolder(std::string& folder);

}  // namespace win
