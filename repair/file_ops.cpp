#include "repair/file_ops.h"

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

bool UniqueNameSequence::copyInto(const std::string& source, std::time_t now, std::string& copy) {
    if (now != lastTime_) {
        lastTime_ = now;
        lastCounter_ = -1;
    }
    for (;;) {
        copy = candidate(lastCounter_);
        if (CopyFileA(source.c_str(), copy.c_str(), TRUE)) {
            ++lastCounter_;
            return true;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
        ++lastCounter_;
    }
    copy.clear();
    return false;
}

std::string uniqueFileName(const std::string& folder, const std::string& extension,
                           std::time_t now) {
    return UniqueNameSequence(folder, extension).next(now);
}

}  // namespace sysrepair
