// The "Installed Software" category: App Paths registrations whose program
// is missing; in a 64-bit Mendora those of the 32-bit view too.
#pragma once

#include "scan/categories/drive_table_task.h"

namespace sysrepair {

struct ScannedKey;

class InstalledSoftware : public DriveTableTask {
public:
    static InstalledSoftware* instance();

    std::string name() override { return "Installed Software"; }
    std::string description() override { return "Missing Software Applications"; }
    uint8_t level() override { return 3; }
    bool scan() override;

private:
    InstalledSoftware() = default;
    // The entries below one App Paths key (the native one or its
    // Wow6432Node form).
    void scanEntries(const ScannedKey& entries, DriveTable* table);
};

}  // namespace sysrepair
