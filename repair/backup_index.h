// The list of recorded backups, newest first, and its index file: "VSI", an
// unsigned 32-bit record count, then per backup a signed 32-bit time, the
// summary and the slot folder as 16-bit-length texts.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace sysrepair {

class BackupIndex {
public:
    // One backup, made by one repair run.
    struct BackupEntry {
        int32_t time = 0;     // seconds since 1970-01-01 00:00 UTC
        std::string folder;   // full path of the slot folder
        std::string summary;  // what the repair fixed
    };

    // Replaces the list with the file's first maxEntries records. False when
    // the file cannot be opened or is not an index; the list is then left as
    // it was. A damaged record ends the list; the records before it are kept.
    bool read(const std::string& path);
    // Replaces the file without ever leaving it truncated or empty: the new
    // contents go to a file beside it, which then takes its place. False when
    // that failed; the old file is then untouched.
    bool write(const std::string& path) const;

    // Inserts at the front, then drops entries from the back down to maxEntries.
    void add(const BackupEntry& entry);
    void removeNewest();
    // Inserts among the entries by its time, newest first (an entry of the
    // same time goes after those there).
    void insertByTime(const BackupEntry& entry);
    // The entry of a slot folder, if any.
    bool has(const std::string& folder) const;
    void remove(const std::string& folder);
    bool setSummary(const std::string& folder, const std::string& summary);

    size_t size() const { return entries_.size(); }
    // From the front (newest).
    const BackupEntry& at(size_t i) const { return entries_.at(i); }
    std::deque<BackupEntry> entries() const { return entries_; }

    // The first slot folder installFolder + "bak\" + n (n = 0 ... slotCount-1)
    // that no backup uses; when all are in use, the oldest backup's folder.
    std::string nextFolder(const std::string& installFolder, unsigned slotCount) const;

    // The file contents. An entry whose texts are too long to store is left
    // out, and the count says how many records follow.
    std::string encode() const;
    // Fills `out` from file contents; false unless they start with "VSI".
    static bool decode(const std::string& bytes, uint32_t limit, std::deque<BackupEntry>& out);

    uint32_t maxEntries = 30;

private:
    std::deque<BackupEntry> entries_;
};

}  // namespace sysrepair
