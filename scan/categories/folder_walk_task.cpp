#include "scan/categories/folder_walk_task.h"

#include <windows.h>

#include "common/app_path.h"
#include "scan/categories/file_checks.h"
#include "scan/walk/path_runner.h"

namespace sysrepair {

namespace {

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The suite's own backups: their copies keep the old times of the files they
// saved, and a folder that holds them (an install below the temporary folder)
// must never have them cleaned away.
std::string backupFolder() {
    std::string folder = win::appPathFolder(win::mendoraEntryName());
    if (folder.empty()) return folder;
    if (folder.back() != '\\') folder += '\\';
    return folder + "bak\\";
}

bool isBelow(const std::string& path, const std::string& folder) {
    return !folder.empty() && path.size() > folder.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                          static_cast<int>(folder.size()), folder.c_str(),
                          static_cast<int>(folder.size())) == CSTR_EQUAL;
}

}  // namespace

void FolderWalkTask::walkFolder(const std::string& folder) {
    const std::string backups = backupFolder();
    PathRunner walker;
    walker.setRoot(folder);
    walker.next();  // the folder itself
    for (std::string path = walker.next(); !path.empty() && !stopRequested();
         path = walker.next()) {
        setStatusText(path);
        if (!isFile(path) || isBelow(path, backups)) continue;
        auto entry = std::make_unique<TaskEntry>();
        if (!notAccessedToday(path, entry.get())) continue;
        entry->fields = {path};
        addEntry(std::move(entry));
    }
}

}  // namespace sysrepair
