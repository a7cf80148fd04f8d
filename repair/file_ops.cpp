#include "repair/file_ops.h"

#include <new>

#include "common/win_handles.h"

namespace sysrepair {

bool fileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool folderExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool readFileBytes(const std::string& path, size_t limit, std::string& bytes) {
    bytes.clear();
    win::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    const unsigned long long wanted =
        static_cast<unsigned long long>(size.QuadPart) < limit ? size.QuadPart : limit;
    try {
        bytes.resize(static_cast<size_t>(wanted));
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t chunk = bytes.size() - done < (1u << 20) ? bytes.size() - done : (1u << 20);
        DWORD got = 0;
        if (!ReadFile(file.get(), &bytes[done], static_cast<DWORD>(chunk), &got, nullptr))
            return false;
        if (got == 0) break;  // the file shrank meanwhile
        done += got;
    }
    bytes.resize(done);
    return true;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t chunk = bytes.size() - done < (1u << 20) ? bytes.size() - done : (1u << 20);
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(chunk), &written, nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

bool replaceFileContents(const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".new";
    {
        win::FileHandle file(CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            DeleteFileA(fresh.c_str());
            return false;
        }
    }
    if (!MoveFileExA(fresh.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(fresh.c_str());
        return false;
    }
    return true;
}

bool listFileNames(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    WIN32_FIND_DATAA data;
    win::FindHandle find(FindFirstFileA((folder + "\\*").c_str(), &data));
    if (!find) {
        // A folder without any entry (a drive root) lists nothing but exists.
        return GetLastError() == ERROR_FILE_NOT_FOUND && folderExists(folder);
    }
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        names.push_back(data.cFileName);
    } while (FindNextFileA(find.get(), &data));
    return true;
}

std::string UniqueNameSequence::candidate(long counter) const {
    const std::string stem = folder_ + "\\" + std::to_string(static_cast<long long>(lastTime_));
    return counter < 0 ? stem + extension_ : stem + "-" + std::to_string(counter) + extension_;
}

std::string UniqueNameSequence::next(std::time_t now) {
    if (now != lastTime_) {
        lastTime_ = now;
        lastCounter_ = -1;
    }
    // Names below lastCounter_ were found taken already in this second.
    std::string name = candidate(lastCounter_);
    while (GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES)
        name = candidate(++lastCounter_);
    return name;
}

std::string uniqueFileName(const std::string& folder, const std::string& extension,
                           std::time_t now) {
    return UniqueNameSequence(folder, extension).next(now);
}

}  // namespace sysrepair
