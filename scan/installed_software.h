// The "Installed Software" category: Missing Software Applications.
#pragma once

#include "task.h"

namespace sysrepair {

class InstalledSoftware : public BasicTask {
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
