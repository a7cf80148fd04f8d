#include "scan/walk/drive_table.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <mutex>

#include "common/message_box.h"
#include "common/windows_folder.h"

namespace sysrepair {

namespace {

std::mutex instanceLock;
DriveTable* table = nullptr;

// The scanners rely on a readable Windows folder; without one the table
// stays without roots.
bool windowsFolderFound() {
    std::string folder;
    switch (win::findWindowsFolder(folder)) {
        case win::WindowsFolderLookup::Found:
            return true;
        case win::WindowsFolderLookup::NtLookupFailed:
            win::showMessageOnUiThread("Failure To Retrieve Windows Folder", "Error", MB_OK);
            return false;
        case win::WindowsFolderLookup::LegacyLookupFailed:
            break;
    }
    win::showMessageOnUiThread("Cannot get Windows Folder", "Mendora Error",
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
    if (DriveTable* made = existing()) return made;
    // Made outside the lock: a missing Windows folder is reported on the
    // user-interface thread, which may be asking for the table meanwhile.
    std::unique_ptr<DriveTable> fresh(new DriveTable());
    std::lock_guard<std::mutex> lock(instanceLock);
    if (!table) table = fresh.release();
    return table;
}

DriveTable* DriveTable::existing() {
    std::lock_guard<std::mutex> lock(instanceLock);
    return table;
}

void DriveTable::destroy() {
    std::lock_guard<std::mutex> lock(instanceLock);
    delete table;
    table = nullptr;
}

}  // namespace sysrepair
