// How far a long repair or restore has come: the step it is in and how many
// of its entries are done, set by the work and read by whatever shows it (the
// working window, the console) from another thread.
#pragma once

#include <cstdint>
#include <string>

namespace win {

struct WorkProgress {
    std::string step;  // "Backing up", "Repairing", "Restoring"
    uint64_t done = 0;
    uint64_t total = 0;
};

// A step of `total` entries begins; it replaces the one before.
void beginWorkStep(const std::string& step, uint64_t total);
// `count` more entries of the step are done.
void advanceWork(uint64_t count = 1);
// No step runs any more.
void endWork();
// The step under way; false when none runs.
bool currentWork(WorkProgress& progress);

// "Backing up 1,200 of 58,970 entries".
std::string workProgressText(const WorkProgress& progress);

}  // namespace win
