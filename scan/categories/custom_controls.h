// The "Custom Controls" category: COM classes whose in-process server file
// is missing.
#pragma once

#include "scan/categories/drive_table_task.h"

namespace sysrepair {

class CustomControls : public DriveTableTask {
public:
    static CustomControls* instance();

    std::string name() override { return "Custom Controls"; }
    std::string description() override { return "Missing COM/DLL/OCX Components"; }
    uint8_t level() override { return 3; }
    bool scan() override;

private:
    CustomControls() = default;
};

}  // namespace sysrepair
