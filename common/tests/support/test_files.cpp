#include "common/tests/support/test_files.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"

namespace testing_support {

ScopedTestFolder::ScopedTestFolder() {
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("no temporary folder");
    path_ = std::string(temp) + uniqueName("mendora-test") + "\\";
    if (!CreateDirectoryA(path_.c_str(), nullptr))
        throw std::runtime_error("cannot create " + path_);
}

ScopedTestFolder::~ScopedTestFolder() {
    removeTree(path_);
}

ScopedFileAside::ScopedFileAside(std::string path) : path_(std::move(path)) {
    DeleteFileA((path_ + ".aside").c_str());
    setAside_ = MoveFileA(path_.c_str(), (path_ + ".aside").c_str()) != 0;
}

ScopedFileAside::~ScopedFileAside() {
    DeleteFileA(path_.c_str());
    if (setAside_) MoveFileA((path_ + ".aside").c_str(), path_.c_str());
}

void writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + path);
    out << contents;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ownProgramFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full = path;
    return full.substr(0, full.find_last_of('\\') + 1);
}

std::string ownProgramName() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string full = path;
    return full.substr(full.find_last_of('\\') + 1);
}

bool fileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void removeTree(const std::string& path) {
    std::string folder = path;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            const std::string child = folder + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

bool setLastAccess(const std::string& path, int days) {
    const LONGLONG kDay = 24LL * 60 * 60 * 10000000;  // in 100 ns units
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t;
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart += days * kDay;
    const FILETIME when = {t.LowPart, t.HighPart};
    win::FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && SetFileTime(file.get(), nullptr, &when, nullptr);
}

void writeOldFile(const std::string& path) {
    writeFile(path, "old");
    if (!setLastAccess(path, -2)) throw std::runtime_error("cannot age " + path);
}

bool copyRepairEngine(const std::string& installFolder) {
    const std::string copy = installFolder + "rptrnr.dll";
    return CopyFileA((ownProgramFolder() + "rptrnr.dll").c_str(), copy.c_str(), FALSE) &&
           setLastAccess(copy, 0);
}

bool makeShortcut(const std::string& link, const std::string& target) {
    CoInitialize(nullptr);
    win::ComPtr<IShellLinkA> shellLink;
    if (CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                         shellLink.receive()) != S_OK)
        return false;
    shellLink->SetPath(target.c_str());
    win::ComPtr<IPersistFile> file;
    if (shellLink->QueryInterface(IID_IPersistFile, file.receive()) != S_OK) return false;
    WCHAR wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH)) return false;
    return file->Save(wide, TRUE) == S_OK;
}

}  // namespace testing_support
