// What the found problems come to, for the results panel and the problem
// report: the problems chosen for repair, and the disk space the files
// among them take, per category and in all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/task.h"

namespace sysrepair {

struct CategorySpace {
    std::string name;
    uint64_t bytes = 0;        // every file found
    uint64_t chosenBytes = 0;  // the files chosen for repair
    uint32_t problems = 0;     // as the category counts them
    uint32_t chosen = 0;       // of those, chosen for repair
};

std::vector<CategorySpace> spaceOf(const std::vector<ITask*>& categories);

// "Files found take 45.2 MB: Drive Cleaner 40.1 MB, Internet Cleaner
// 5.1 MB"; empty when no file was found. With `chosen`, also what the chosen
// ones take once some are left alone.
std::string spaceText(const std::vector<CategorySpace>& space, bool chosen);

// "9 of 12 problems chosen for repair." once some are left alone; empty
// while all are chosen.
std::string chosenText(const std::vector<CategorySpace>& space);

}  // namespace sysrepair
