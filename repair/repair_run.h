// "Make Repairs": every found problem is backed up into the next backup slot,
// the disk is checked for room, the repair engine removes what was backed up,
// and the backup is recorded with a summary of what was fixed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "repair/repair_engine.h"
#include "scan/task.h"

namespace sysrepair {

// Bytes the backups of a list may take: the size of every file entry that
// can be opened for reading, plus 100 for every entry.
int64_t estimatedBackupSize(const std::vector<TaskEntry*>& entries);

// The bytes available to the caller on the volume of a folder; false when
// the query fails. Replaceable for tests.
using FreeSpaceQuery = std::function<bool(const std::string& folder, uint64_t& bytes)>;
void setFreeSpaceQuery(FreeSpaceQuery query);

// What the user sees while the repair works: the program's "please wait"
// window. The repair shows it once the free space is known and hides it
// before it says how the repair went.
class WorkingView {
public:
    virtual ~WorkingView() = default;
    virtual void show() = 0;
    virtual void hide() = 0;
};

struct RepairResult {
    bool refusedForSpace = false;
    // Problems found but none could be backed up, so none was repaired.
    bool nothingBackedUp = false;
    // As the engine reports them.
    uint32_t problemsFixed = 0;
    std::string summary;
    // Entries left as they are: not backed up (changed since the scan, or
    // unreadable), and those handed to the engine that it left: changed
    // since the scan, keys and folders that still hold something, or refused
    // by the platform.
    uint32_t notBackedUp = 0;
    uint32_t changedSinceScan = 0;
    uint32_t keptNotEmpty = 0;
    uint32_t refused = 0;
};

// The repair of the given categories with an engine that is bound. Entries
// the user left alone, and those that could not be backed up, are not
// touched. Internet Cleaner's files are
// repaired without a backup. The summary and the message count what the
// engine removed; when nothing was, the message says why.
RepairResult runRepair(const std::vector<ITask*>& categories, const RepairEngine& engine,
                       WorkingView& working);

// The whole "Make Repairs" action: binds the engine from the install folder
// (with the messages for a missing or unusable engine), runs the repair and
// unbinds the engine. False when no repair ran for want of an engine.
bool makeRepairs(const std::vector<ITask*>& categories, RepairEngine& engine, WorkingView& working);

}  // namespace sysrepair
