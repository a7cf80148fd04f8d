#include "drive_table.h"

#include <windows.h>

#include <cstring>
#include <mutex>

#include "message_box.h"
#include "windows_folder.h"

namespace sysrepair {

namespace {

std::mutex instanceLock;
DriveTable* table = nullptr;

// The scanners rely on a readable Windows folder; without one the table
// stays without roots.
bool windowsFolderFound() {
    std::string folder;
    switch (findWindowsFolder(folder)) {
        case WindowsFolderLookup::Found:
            return true;
        case WindowsFolderLookup::NtLookupFailed:
            showMessageBox(mainWindowHandle(), "Failure To Retrieve Windows Folder", "Error",
                           MB_OK);
            return false;
        case WindowsFolderLookup::LegacyLookupFailed:
            break;
    }
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
