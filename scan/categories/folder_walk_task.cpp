#include "scan/categories/folder_walk_task.h"

#include <windows.h>

#include "scan/categories/file_checks.h"
#include "scan/walk/path_runner.h"

namespace sysrepair {

namespace {

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

void FolderWalkTask::walkFolder(const std::string& folder) {
    PathRunner walker;
    walker.setRoot(folder);
    walker.next();  // the folder itself
    for (std::string path = walker.next(); !path.empty() && !stopRequested();
         path = walker.next()) {
        setStatusText(path);
        if (!isFile(path)) continue;
        auto entry = std::make_unique<TaskEntry>();
        if (!notAccessedToday(path, entry.get())) continue;
        entry->fields = {path};
        addEntry(std::move(entry));
    }
}

}  // namespace sysrepair
