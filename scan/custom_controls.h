// The "Custom Controls" category: Missing COM/DLL/OCX Components.
#pragma once

#include "task.h"

namespace sysrepair {

class CustomControls : public BasicTask {
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
