// The "Windows Shortcuts" category: Missing or Invalid Shortcuts.
#pragma once

#include "scan/categories/drive_table_task.h"

namespace sysrepair {

class ShortcutPaths : public DriveTableTask {
public:
    static ShortcutPaths* instance();

    std::string name() override { return "Windows Shortcuts"; }
    std::string description() override { return "Missing or Invalid Shortcuts"; }
    uint8_t level() override { return 2; }
    bool scan() override;

private:
    ShortcutPaths() = default;
};

}  // namespace sysrepair
