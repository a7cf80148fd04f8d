// The backup index as read from disk: at most the 30 entries a slot list
// holds, whatever the count says.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

#include "repair/backup_index.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using sysrepair::BackupIndex;
    std::deque<BackupIndex::BackupEntry> entries;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!BackupIndex::decode(bytes, 30, entries)) return 0;
    if (entries.size() > 30) __builtin_trap();
    // What was read is written back whole and reads the same.
    BackupIndex index;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) index.add(*it);
    std::deque<BackupIndex::BackupEntry> again;
    if (!BackupIndex::decode(index.encode(), 30, again) || again.size() != entries.size())
        __builtin_trap();
    return 0;
}
