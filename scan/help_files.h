// The "Windows Help Files" category: Missing Windows Help Files.
#pragma once

#include "task.h"

namespace sysrepair {

class HelpFiles : public BasicTask {
public:
    static HelpFiles* instance();

    std::string name() override { return "Windows Help Files"; }
    std::string description() override { return "Missing Windows Help Files"; }
    uint8_t level() override { return 2; }
    bool scan() override;

private:
    HelpFiles() = default;
};

}  // namespace sysrepair
