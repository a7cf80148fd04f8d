#include "repair/backup_index.h"

#include <iterator>

#include "repair/byte_reader.h"
#include "repair/byte_writer.h"

namespace sysrepair {

namespace {
const char kIndexTag[3] = {'V', 'S', 'I'};
}

void BackupIndex::add(const BackupEntry& entry) {
    entries_.push_front(entry);
    while (entries_.size() > maxEntries) entries_.pop_back();
}

void BackupIndex::removeNewest() {
    if (!entries_.empty()) entries_.pop_front();
}

void BackupIndex::insertByTime(const BackupEntry& entry) {
    auto at = entries_.begin();
    while (at != entries_.end() && at->time >= entry.time) ++at;
    entries_.insert(at, entry);
    while (entries_.size() > maxEntries) entries_.pop_back();
}

bool BackupIndex::has(const std::string& folder) const {
    for (const BackupEntry& e : entries_)
        if (e.folder == folder) return true;
    return false;
}

void BackupIndex::remove(const std::string& folder) {
    for (auto at = entries_.begin(); at != entries_.end();)
        at = at->folder == folder ? entries_.erase(at) : std::next(at);
}

bool BackupIndex::setSummary(const std::string& folder, const std::string& summary) {
    for (BackupEntry& e : entries_) {
        if (e.folder != folder) continue;
        e.summary = summary;
        return true;
    }
    return false;
}

std::string BackupIndex::nextFolder(const std::string& installFolder, unsigned slotCount) const {
    const std::string oldest = entries_.empty() ? std::string() : entries_.back().folder;
    for (unsigned n = 0; n < slotCount; ++n) {
        const std::string candidate = installFolder + "bak\\" + std::to_string(n);
        bool used = false;
        for (const BackupEntry& e : entries_) {
            if (e.folder == candidate) {
                used = true;
                break;
            }
        }
        if (!used) return candidate;
    }
    return oldest;
}

std::string BackupIndex::encode() const {
    ByteWriter records;
    uint32_t count = 0;
    for (const BackupEntry& e : entries_) {
        ByteWriter record;
        record.putI32(e.time);
        if (!record.putString(e.summary) || !record.putString(e.folder)) continue;
        records.append(record);
        ++count;
    }
    ByteWriter file;
    file.putBytes(kIndexTag, sizeof kIndexTag);
    file.putU32(count);
    file.append(records);
    return file.bytes();
}

bool BackupIndex::decode(const std::string& bytes, uint32_t limit, std::deque<BackupEntry>& out) {
    ByteReader in(bytes);
    char tag[sizeof kIndexTag];
    if (!in.readBytes(tag, sizeof tag) || std::string(tag, sizeof tag) != "VSI") return false;
    out.clear();
    uint32_t count = 0;
    if (!in.readU32(count)) return true;
    for (uint32_t i = 0; i < count && i < limit; ++i) {
        BackupEntry e;
        if (!in.readI32(e.time) || !in.readString(e.summary) || !in.readString(e.folder)) break;
        out.push_back(std::move(e));
    }
    return true;
}

}  // namespace sysrepair
