// The "Drive Cleaner" category: Unused Temporary Files.
#pragma once

#include "scan/categories/folder_walk_task.h"

namespace sysrepair {

class CleanTemp : public FolderWalkTask {
public:
    static CleanTemp* instance();

    std::string name() override { return "Drive Cleaner"; }
    std::string description() override { return "Unused Temporary Files"; }
    uint8_t level() override { return 0; }
    bool scan() override;

private:
    CleanTemp() = default;
};

}  // namespace sysrepair
