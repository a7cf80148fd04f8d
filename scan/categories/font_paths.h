// The "Windows System Fonts" category: font registrations whose font file is
// missing.
#pragma once

#include "scan/categories/value_reference_task.h"

namespace sysrepair {

class FontPaths : public ValueReferenceTask {
public:
    static FontPaths* instance();

    std::string name() override { return "Windows System Fonts"; }
    std::string description() override { return "Missing System Fonts"; }
    uint8_t level() override { return 2; }
    // False, without scanning, when the Windows folder cannot be found on
    // the NT platform.
    bool scan() override;

private:
    FontPaths() = default;
};

}  // namespace sysrepair
