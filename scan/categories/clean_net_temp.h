// The "Internet Cleaner" category: Unused Internet Files.
#pragma once

#include "scan/categories/folder_walk_task.h"

namespace sysrepair {

class CleanNetTemp : public FolderWalkTask {
public:
    static CleanNetTemp* instance();

    std::string name() override { return "Internet Cleaner"; }
    std::string description() override { return "Unused Internet Files"; }
    uint8_t level() override { return 0; }
    // False, without scanning, when the cache folder cannot be found.
    bool scan() override;
    // All unused Internet files together are one problem.
    uint32_t problemCount() override { return BasicTask::problemCount() > 0 ? 1 : 0; }

private:
    CleanNetTemp() = default;
};

}  // namespace sysrepair
