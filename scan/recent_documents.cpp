#include "recent_documents.h"

#include <shlobj.h>
#include <windows.h>

#include "message_box.h"
#include "windows_folder.h"

namespace sysrepair {

namespace {

// The folder that holds the user's Recent folder: the profile on the NT
// platform, the Windows folder elsewhere.
std::string recentParent() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        char profile[MAX_PATH + 1] = {};
        if (SHGetSpecialFolderPathA(nullptr, profile, CSIDL_PROFILE, TRUE)) return profile;
        showMessageBox(mainWindowHandle(), "Failure To Retrieve Profile Folder", "Error", MB_OK);
        return "\\Windows";
    }
    std::string windows;
    if (findWindowsFolder(windows) != WindowsFolderLookup::Found)
        showMessageBox(mainWindowHandle(), "Cannot get Windows Folder", "Mendora Error",
                       MB_OK | MB_ICONQUESTION);
    return windows;
}

}  // namespace

RecentDocuments* RecentDocuments::instance() {
    static RecentDocuments* const task = new RecentDocuments();
    return task;
}

bool RecentDocuments::scan() {
    setRunning(true);
    clearEntries();
    std::string folder = recentParent();
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    walkFolder(folder + "recent");
    setRunning(false);
    return true;
}

}  // namespace sysrepair
