#include "scan/categories/recent_documents.h"

#include <shlobj.h>
#include <windows.h>

#include "common/message_box.h"
#include "common/os_version.h"
#include "common/windows_folder.h"

namespace sysrepair {

namespace {

// The user's Recent folder as the shell names it, with a backslash at the
// end; empty when the shell does not know it. Since Vista it is in the
// roaming application data, and the profile's "Recent" is only a link that
// refuses to be listed.
std::string shellRecentFolder() {
    char recent[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, recent, CSIDL_RECENT, TRUE) || recent[0] == '\0')
        return "";
    std::string folder = recent;
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

// Where the shell does not name it: the profile on the NT platform, the
// Windows folder elsewhere, which holds the Recent folder.
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
    std::string folder = shellRecentFolder();
    if (folder.empty()) {
        folder = recentParent();
        if (folder.empty() || folder.back() != '\\') folder += '\\';
        folder += "recent";
    }
    walkFolder(folder);
    setRunning(false);
    return true;
}

}  // namespace sysrepair
