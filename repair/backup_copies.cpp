#include "repair/backup_copies.h"

#include <windows.h>

#include <algorithm>
#include <ctime>

#include "common/win_handles.h"
#include "repair/backup_names.h"

namespace sysrepair {

namespace {

const size_t kCopiesPerFolder = 1000;

bool flushFile(const std::string& path) {
    win::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}

// The volume of a path ("\\.\C:"), flushed whole: Windows allows it to an
// administrator, and it costs one wait instead of one per file.
bool flushVolumeOf(const std::string& path) {
    char volume[MAX_PATH + 1] = {};
    if (!GetVolumePathNameA(path.c_str(), volume, MAX_PATH)) return false;
    std::string device = volume;
    while (!device.empty() && device.back() == '\\') device.pop_back();
    if (device.size() != 2 || device[1] != ':') return false;  // a mounted folder or a share
    win::FileHandle handle(CreateFileA(("\\\\.\\" + device).c_str(), GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                       0, nullptr));
    return handle && FlushFileBuffers(handle.get());
}

}  // namespace

BackupCopies::BackupCopies(const std::string& slotFolder)
    : filesFolder_(slotFolder + "\\files"), names_(filesFolder_, kCopyExtension) {}

bool BackupCopies::copy(const std::string& source, std::string& copy) {
    if (inFolder_ == kCopiesPerFolder) {
        const std::string folder = filesFolder_ + "\\" + std::to_string(++folderNumber_);
        CreateDirectoryA(folder.c_str(), nullptr);
        names_ = UniqueNameSequence(folder, kCopyExtension);
        inFolder_ = 0;
    }
    if (!names_.copyInto(source, std::time(nullptr), copy)) return false;
    ++inFolder_;
    unflushed_.push_back(copy);
    return true;
}

void BackupCopies::discard(const std::string& copy) {
    DeleteFileA(copy.c_str());
    const auto found = std::find(unflushed_.rbegin(), unflushed_.rend(), copy);
    if (found != unflushed_.rend()) unflushed_.erase(std::next(found).base());
}

std::vector<std::string> BackupCopies::flush() {
    std::vector<std::string> failed;
    if (!unflushed_.empty() && !flushVolumeOf(unflushed_.front()))
        for (const std::string& copy : unflushed_)
            if (!flushFile(copy)) failed.push_back(copy);
    unflushed_.clear();
    return failed;
}

}  // namespace sysrepair
