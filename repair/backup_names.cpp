#include "repair/backup_names.h"

#include "scan/task_entry.h"

namespace sysrepair {

const char kReportExtension[] = ".srb";
const char kCopyExtension[] = ".bak";

bool hasExtensionFromFirstDot(const std::string& name, const std::string& extension) {
    const std::string::size_type dot = name.find('.');
    return dot != std::string::npos && textEqualsIgnoringAsciiCase(name.substr(dot), extension);
}

}  // namespace sysrepair
