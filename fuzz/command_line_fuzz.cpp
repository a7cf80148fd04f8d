// Mendora's command line, as a script may write it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string arguments(reinterpret_cast<const char*>(data), size);
    const sysrepair::CommandLine line = sysrepair::parseCommandLine(arguments);
    std::vector<bool> chosen;
    std::string unknown;
    sysrepair::chooseCategories(line.categories, {"Drive Cleaner", "Windows Shortcuts"}, chosen,
                                unknown);
    return 0;
}
