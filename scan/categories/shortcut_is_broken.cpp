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

std::string storedTarget(IShellLinkA* link) {
    char target[MAX_PATH + 1] = {};
    if (link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return std::string();
    return target;
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

// Reading a shortcut must not make it "used today": the categories of
// unused files would then see a change since their scan and leave the file
// (the Recent folder holds shortcuts too). Keeps the file's last access time
// as it was before the read.
class LastAccessKept {
public:
    explicit LastAccessKept(const std::string& path) : path_(path) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        known_ = GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) != 0;
        if (known_) accessed_ = data.ftLastAccessTime;
    }
    ~LastAccessKept() {
        if (!known_) return;
        win::FileHandle file(CreateFileA(path_.c_str(), FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) SetFileTime(file.get(), nullptr, &accessed_, nullptr);
    }
    LastAccessKept(const LastAccessKept&) = delete;
    LastAccessKept& operator=(const LastAccessKept&) = delete;

private:
    std::string path_;
    bool known_ = false;
    FILETIME accessed_ = {};
};

}  // namespace

bool lookupSaysGone(unsigned driveType, unsigned long lookupError) {
    const bool fixed = driveType == DRIVE_FIXED || driveType == DRIVE_RAMDISK;
    return fixed && (lookupError == ERROR_FILE_NOT_FOUND || lookupError == ERROR_PATH_NOT_FOUND);
}

bool shortcutIsBroken(const std::string& path, std::string* target) {
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
    const LastAccessKept kept(path);
    if (FAILED(file->Load(widePath, STGM_READ))) return false;  // no shortcut at all

    const DWORD flags = SLR_NO_UI | SLR_NOUPDATE | SLR_NOLINKINFO;
    // Wine's Resolve does no search and succeeds for a missing target.
    const bool broken =
        link->Resolve(GetDesktopWindow(), flags) != S_OK || targetCertainlyGone(link.get());
    if (broken && target) *target = storedTarget(link.get());
    return broken;
}

}  // namespace sysrepair
