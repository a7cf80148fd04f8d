// The index file on disk; the byte layout is in backup_index.cpp.
#include "repair/backup_index.h"
#include "repair/byte_writer.h"
#include "repair/file_ops.h"

namespace sysrepair {

bool BackupIndex::read(const std::string& path) {
    // Records past the first maxEntries are ignored, so no more than the
    // largest possible maxEntries records is ever read into memory.
    const size_t largestRecord = 4 + 2 * (2 + kMaxStoredText);
    const size_t limit =
        7 + static_cast<size_t>(maxEntries < 4096 ? maxEntries : 4096) * largestRecord;
    std::string bytes;
    if (!win::readFileBytes(path, limit, bytes)) return false;
    std::deque<BackupEntry> loaded;
    if (!decode(bytes, maxEntries, loaded)) return false;
    entries_ = std::move(loaded);
    return true;
}

bool BackupIndex::write(const std::string& path) const {
    return win::replaceFileContents(path, encode());
}

}  // namespace sysrepair
