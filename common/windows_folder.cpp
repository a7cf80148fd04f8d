#include "common/windows_folder.h"

#include <shlobj.h>
#include <windows.h>

#include "common/os_version.h"

namespace win {

WindowsFolderLookup findWindowsFolder(std::string& folder) {
    folder.clear();
    char buffer[MAX_PATH + 1] = {};
    if (OsVersion().isNt()) {
        if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_WINDOWS, TRUE))
            return WindowsFolderLookup::NtLookupFailed;
    } else {
        const UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return WindowsFolderLookup::LegacyLookupFailed;
    }
    folder = buffer;
    return WindowsFolderLookup::Found;
}

}  // namespace win
