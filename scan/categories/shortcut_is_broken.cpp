#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

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

bool fileSystemPathMissing(IShellLinkA* link) {
    char target[MAX_PATH + 1] = {};
    if (link->GetPath(target, MAX_PATH, nullptr, 0) != S_OK || target[0] == '\0') return false;
    return GetFileAttributesA(target) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool shortcutIsBroken(const std::string& path) {
    CoInitialize(nullptr);
    win::ComPtr<IShellLinkA> link;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IShellLinkA, link.receive());
    if (FAILED(created)) {
        showMessageOnUiThread(
            std::string("Error in CoCreateInstance. ") + creationFailureText(created),
            std::to_string(static_cast<long>(created)), MB_OK);
        showMessageOnUiThread("Error Creating Instance", "", MB_OK);
        return false;
    }
    win::ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.receive()))) {
        showMessageOnUiThread("Error in interface query", "", MB_OK);
        return false;
    }
    WCHAR widePath[MAX_PATH + 1] = {};
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) return false;
    if (FAILED(file->Load(widePath, STGM_READ))) return false;  // no shortcut at all

    const DWORD flags = SLR_NO_UI | SLR_NOUPDATE | SLR_NOLINKINFO;
    if (link->Resolve(GetDesktopWindow(), flags) != S_OK) return true;
    // Wine's Resolve does no search and succeeds for a missing target.
    return fileSystemPathMissing(link.get());
}

}  // namespace sysrepair
