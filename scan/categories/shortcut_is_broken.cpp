#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <cctype>
#include <string>

#include "common/message_box.h"
#include "common/win_handles.h"
#include "scan/categories/file_checks.h"

namespace sysrepair {

namespace {

const char* creationFailureText(HRESULT code) {
    switch (code) {
        case E_NOINTERFACE:
            return "invalid interface given";
        case CLASS_E_NOAGGREGATION:
            return "class cannot be created aggreate";
        case REGDB_E_CLASSNOTREG:
            return "class not found in registration database";
        default:
            return "unknown error";
    }
}

// A plain path on a drive: a letter, a colon and a backslash.
bool isDrivePath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && path[2] == '\\';
}

// Whether the target of a link that resolved is certainly gone. Without a
// file-system path (an advertised installer shortcut) it is not.
bool targetCertainlyGone(IShellLinkA* link) {
    char target[MAX_PATH + 1] = {};
    if (link->GetPath(target, MAX_PATH, nullptr, 0) != S_OK || !isDrivePath(target)) return false;
    if (GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = GetLastError();
    const char root[] = {target[0], ':', '\\', '\0'};
    return lookupSaysGone(GetDriveTypeA(root), error);
}

}  // namespace

bool lookupSaysGone(unsigned driveType, unsigned long lookupError) {
    const bool fixed = driveType == DRIVE_FIXED || driveType == DRIVE_RAMDISK;
    return fixed && (lookupError == ERROR_FILE_NOT_FOUND || lookupError == ERROR_PATH_NOT_FOUND);
}

bool shortcutIsBroken(const std::string& path) {
    CoInitialize(nullptr);
    win::ComPtr<IShellLinkA> link;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IShellLinkA, link.receive());
    if (FAILED(created)) {
        win::showMessageOnUiThread(
            std::string("Error in CoCreateInstance. ") + creationFailureText(created),
            std::to_string(static_cast<long>(created)), MB_OK);
        win::showMessageOnUiThread("Error Creating Instance", "", MB_OK);
        return false;
    }
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) {
        win::showMessageOnUiThread("Error in interface query", "", MB_OK);
        return false;
    }
    WCHAR widePath[MAX_PATH + 1] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) return false;
    if (FAILED(file->Load(widePath, STGM_READ))) return false;  // no shortcut at all

    const DWORD flags = SLR_NO_UI | SLR_NOUPDATE | SLR_NOLINKINFO;
    if (link->Resolve(GetDesktopWindow(), flags) != S_OK) return true;
    // Wine's Resolve does no search and succeeds for a missing target.
    return targetCertainlyGone(link.get());
}

}  // namespace sysrepair
