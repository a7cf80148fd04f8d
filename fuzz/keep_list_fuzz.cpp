// The stored list of kept items, as a damaged or edited file may hold it. A
// list that reads is written back to exactly the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scan/keep_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    sysrepair::KeepList list;
    if (!sysrepair::parseKeepList(text, list)) {
        if (!list.empty()) std::abort();  // a damaged list keeps nothing
        return 0;
    }
    if (sysrepair::formatKeepList(list) != text) std::abort();
    sysrepair::TaskEntry entry;
    entry.fields = {"C:\\Temp\\x.log"};
    list.keepsEntry(entry);
    return 0;
}
