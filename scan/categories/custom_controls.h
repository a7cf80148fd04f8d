// The "Custom Controls" category: COM classes whose in-process server file
// is missing; in a 64-bit Mendora those of the 32-bit view too.
#pragma once

#include "scan/categories/drive_table_task.h"

namespace sysrepair {

struct ScannedKey;

class CustomControls : public DriveTableTask {
public:
    static CustomControls* instance();

    std::string name() override { return "Custom Controls"; }
    std::string description() override { return "Missing COM/DLL/OCX Components"; }
    uint8_t level() override { return 3; }
    bool scan() override;

private:
    CustomControls() = default;
    // The classes below one key of HKEY_CLASSES_ROOT ("CLSID" or its
    // Wow6432Node form).
    void scanClasses(const ScannedKey& classes, DriveTable* table);
};

}  // namespace sysrepair
