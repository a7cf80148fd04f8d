// The "Installed Software" category: App Paths registrations whose program
// is missing.
#pragma once

#include "scan/categories/drive_table_task.h"

namespace sysrepair {

class InstalledSoftware : public DriveTableTask {
public:
    static InstalledSoftware* instance();

    std::string name() override { return "Installed Software"; }
    std::string description() override { return "Missing Software Applications"; }
    uint8_t level() override { return 3; }
    bool scan() override;

private:
    InstalledSoftware() = default;
};

}  // namespace sysrepair
