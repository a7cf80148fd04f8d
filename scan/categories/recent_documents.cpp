#include "scan/categories/recent_documents.h"

#include <shlobj.h>
#include <windows.h>

#include "common/message_box.h"
#include "common/os_version.h"
#include "common/windows_folder.h"

namespace sysrepair {

namespace {

// The folder that holds the user's Recent folder: the profile on the NT
// platform, the Windows folder elsewhere.
std::string recentParent() {
    if (win::OsVersion().isNt()) {
        char profile[MAX_PATH + 1] = {};
        if (SHGetSpecialFolderPathA(nullptr, profile, CSIDL_PROFILE, TRUE)) return profile;
        win::showMessageOnUiThread("Failure To Retrieve Profile Folder", "Error", MB_OK);
        return "\\Windows";
    }
    std::string windows;
    if (win::findWindowsFolder(windows) != win::WindowsFolderLookup::Found)
        win::showMessageOnUiThread("Cannot get Windows Folder", "Mendora Error",
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
