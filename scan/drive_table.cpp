#include "drive_table.h"

#include <shlobj.h>
#include <windows.h>

#include <cstring>
#include <mutex>

#include "message_box.h"

namespace sysrepair {

namespace {

std::mutex instanceLock;
DriveTable* table = nullptr;

// The scanners rely on a readable Windows folder; without one the table
// stays without roots.
bool windowsFolderFound() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    char folder[MAX_PATH] = {};
    if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (SHGetSpecialFolderPathA(nullptr, folder, CSIDL_WINDOWS, TRUE)) return true;
        showMessageBox(mainWindowHandle(), "Failure To Retrieve Windows Folder", "Error", MB_OK);
        return false;
    }
    if (GetWindowsDirectoryA(folder, sizeof(folder)) != 0) return true;
    showMessageBox(mainWindowHandle(), "Cannot get Windows Folder", "Mendora Error",
                   MB_OK | MB_ICONQUESTION);
    return false;
}

}  // namespace

DriveTable::DriveTable() {
    if (!windowsFolderFound()) return;
    char drives[1024] = {};
    DWORD length = GetLogicalDriveStringsA(sizeof(drives), drives);
    // A result at or above the buffer size is the size needed, not a listing.
    if (length == 0 || length >= sizeof(drives)) return;
    for (const char* root = drives; root < drives + length && *root; root += strlen(root) + 1) {
        if (GetDriveTypeA(root) == DRIVE_FIXED) addRoot(root);
    }
}

DriveTable* DriveTable::instance() {
    std::lock_guard<std::mutex> lock(instanceLock);
    if (!table) table = new DriveTable();
    return table;
}

void DriveTable::destroy() {
    std::lock_guard<std::mutex> lock(instanceLock);
    delete table;
    table = nullptr;
}

}  // namespace sysrepair
