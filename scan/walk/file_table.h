// The table of every path below a set of root folders, collected by one walk
// on the calling thread while other threads watch its progress or cancel it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "scan/walk/path_store.h"

namespace sysrepair {

class FileTable {
public:
    FileTable();
    virtual ~FileTable();
    FileTable(const FileTable&) = delete;
    FileTable& operator=(const FileTable&) = delete;

    // Appends a folder to walk.
    void addRoot(const std::string& path);

    // Empties the table, walks every root in the order added and collects the
    // paths in walk order. Runs until the walks end or cancel() is called; a
    // cancelled build leaves the table empty and incomplete.
    void build();
    // Safe from any thread while build() runs.
    void cancel() { cancelRequested = true; }

    bool isBuilding() const { return building; }
    // The last build ran to its end without being cancelled.
    bool isComplete() const { return complete; }

    std::size_t fileCount();
    // The i-th path, or the empty text when i is not below the count.
    std::string fileAt(std::size_t i);
    // Whether some path equals `path` exactly (same bytes, case-sensitive).
    // Constant time on average.
    bool contains(const std::string& path);

    // The path most recently collected; empty before the first.
    std::string currentPath();

    // Heap bytes that the collected paths take.
    std::size_t memoryBytes();

private:
    std::vector<std::string> roots;
    std::mutex rootsLock;
    PathStore files;
    std::mutex filesLock;
    std::string current;
    std::mutex currentLock;
    std::atomic<bool> building{false};
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> complete{false};
};

}  // namespace sysrepair
