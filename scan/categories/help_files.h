// The "Windows Help Files" category: help registrations whose help file is
// missing.
#pragma once

#include "scan/categories/value_reference_task.h"

namespace sysrepair {

class HelpFiles : public ValueReferenceTask {
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
