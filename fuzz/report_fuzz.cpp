// A category's backup report as read from disk.
#include <cstddef>
#include <cstdint>
#include <string>

#include "repair/report_format.h"

namespace {

std::string rootName(uint32_t root) {
    return root == 0x80000002u ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const sysrepair::DecodedReport report = sysrepair::decodeReport(bytes, rootName);
    // Never more entries than the report announced.
    if (report.entries.size() > report.recordCount) __builtin_trap();
    return 0;
}
