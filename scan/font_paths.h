// The "Windows System Fonts" category: Missing System Fonts.
#pragma once

#include "task.h"

namespace sysrepair {

class FontPaths : public BasicTask {
public:
    static FontPaths* instance();

    std::string name() override { return "Windows System Fonts"; }
    std::string description() override { return "Missing System Fonts"; }
    uint8_t level() override { return 2; }
    bool scan() override;

private:
    FontPaths() = default;
};

}  // namespace sysrepair
