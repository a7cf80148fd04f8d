#include <windows.h>

#include "common/file_time.h"
#include "scan/categories/file_checks.h"

namespace sysrepair {

bool stampFile(const std::string& path, TaskEntry& found) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return false;
    found.fileChecks = FileStampKnown;
    found.fileSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    found.lastWrite = win::fileTimeValue(data.ftLastWriteTime);
    return true;
}

}  // namespace sysrepair
