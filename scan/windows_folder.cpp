#include "windows_folder.h"

#include <shlobj.h>
#include <windows.h>

namespace sysrepair {

WindowsFolderLookup findWindowsFolder(std::string& folder) {
    folder.clear();
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    char buffer[MAX_PATH + 1] = {};
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (!SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_WINDOWS, TRUE))
            return WindowsFolderLookup::NtLookupFailed;
    } else {
        const UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return WindowsFolderLookup::LegacyLookupFailed;
    }
    folder = buffer;
    return WindowsFolderLookup::Found;
}

}  // namespace sysrepair
