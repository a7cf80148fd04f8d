// The "Recent Documents" category: Files in Recent Documents Folder.
#pragma once

#include "scan/categories/folder_walk_task.h"

namespace sysrepair {

class RecentDocuments : public FolderWalkTask {
public:
    static RecentDocuments* instance();

    std::string name() override { return "Recent Documents"; }
    std::string description() override { return "Files in Recent Documents Folder"; }
    uint8_t level() override { return 0; }
    bool scan() override;

private:
    RecentDocuments() = default;
};

}  // namespace sysrepair
