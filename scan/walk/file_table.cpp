#include "scan/walk/file_table.h"

#include "scan/walk/path_runner.h"

namespace sysrepair {

FileTable::FileTable() = default;
FileTable::~FileTable() = default;

void FileTable::addRoot(const std::string& path) {
    std::lock_guard<std::mutex> lock(rootsLock);
    roots.push_back(path);
}

void FileTable::build() {
    building = true;
    cancelRequested = false;
    // A build that throws (out of memory, say) leaves an empty, incomplete
    // table that says it is no longer building, so that nothing waits for it.
    struct EndOfBuild {
        FileTable& table;
        bool finished = false;
        ~EndOfBuild() {
            if (finished) return;
            {
                std::lock_guard<std::mutex> lock(table.filesLock);
                table.files.clear();
            }
            table.complete = false;
            table.building = false;
        }
    } end{*this};
    std::vector<std::string> walk;
    {
        std::lock_guard<std::mutex> lock(rootsLock);
        walk = roots;
    }
    complete = false;
    {
        // Only an incomplete table is built again; start it afresh rather
        // than appending a second copy of what an earlier walk left.
        std::lock_guard<std::mutex> lock(filesLock);
        files.clear();
    }
    bool full = false;
    for (const std::string& root : walk) {
        PathRunner runner;
        runner.setRoot(root);
        while (!cancelRequested && !full) {
            std::string path = runner.next();
            if (path.empty()) break;
            {
                std::lock_guard<std::mutex> lock(filesLock);
                full = !files.add(path);
            }
            std::lock_guard<std::mutex> lock(currentLock);
            current.swap(path);
        }
        if (cancelRequested || full) break;
    }
    // The outcome is settled before `building` drops, so that whoever waits
    // for the end of the build sees the final table.
    if (cancelRequested) {
        std::lock_guard<std::mutex> lock(filesLock);
        files.clear();
        complete = false;
    } else {
        // A table that could not hold every path is not complete.
        complete = !full;
    }
    end.finished = true;
    building = false;
}

std::size_t FileTable::fileCount() {
    std::lock_guard<std::mutex> lock(filesLock);
    return files.size();
}

std::string FileTable::fileAt(std::size_t i) {
    std::lock_guard<std::mutex> lock(filesLock);
    if (i >= files.size()) return std::string();
    return std::string(files.at(i));
}

bool FileTable::contains(const std::string& path) {
    std::lock_guard<std::mutex> lock(filesLock);
    return files.contains(path);
}

std::string FileTable::currentPath() {
    std::lock_guard<std::mutex> lock(currentLock);
    return current;
}

std::size_t FileTable::memoryBytes() {
    std::lock_guard<std::mutex> lock(filesLock);
    return files.memoryBytes();
}

}  // namespace sysrepair
