// What the task selection dialog needs from the window that runs scans: a new
// list of categories to scan. The main window implements it.
#pragma once

#include <vector>

#include "scan/task.h"

namespace sysrepair {

class ScanCategoryTarget {
public:
    virtual ~ScanCategoryTarget() = default;
    // Replaces the categories the next scan covers (in order; possibly none)
    // and refills the list of them that the window shows.
    virtual void setScanCategories(const std::vector<ITask*>& categories) = 0;
};

}  // namespace sysrepair
