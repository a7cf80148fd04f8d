#include "scan/task_entry.h"

#include "common/text_hash.h"
#include "scan/file_name.h"

namespace sysrepair {

const char kDefaultValueMarker[] = "-+!BL_DEFAULT_REG_VALUE!+-";
const char kNoCopyMarker[] = "<:*null*:>";

void TaskEntry::setRawValue(int32_t valueType, const void* bytes, int32_t length) {
    regType = valueType;
    const auto* begin = static_cast<const unsigned char*>(bytes);
    if (length > 0 && begin)
        data.assign(begin, begin + length);
    else
        data.clear();
    type = EntryRegRaw;
}

namespace {

unsigned char lowerAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
}

}  // namespace

bool textEqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::string::size_type i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

bool entriesEqual(const TaskEntry& a, const TaskEntry& b) {
    if (a.type != b.type || a.fields.size() != b.fields.size() || a.data != b.data ||
        a.regType != b.regType)
        return false;
    for (std::vector<std::string>::size_type i = 0; i < a.fields.size(); ++i)
        if (!textEqualsIgnoringAsciiCase(a.fields[i], b.fields[i])) return false;
    return true;
}

namespace {

// A length before each piece, so that pieces never run into each other.
void hashPiece(win::TextHash& hash, const void* bytes, size_t length, bool foldCase) {
    const uint64_t size = length;
    hash.add(&size, sizeof size);
    const auto* p = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < length; ++i) hash.add(foldCase ? lowerAscii(p[i]) : p[i]);
}

}  // namespace

uint64_t entryHash(const TaskEntry& entry) {
    win::TextHash hash;
    const uint64_t kinds[] = {entry.type, static_cast<uint32_t>(entry.regType),
                              entry.fields.size()};
    hash.add(kinds, sizeof kinds);
    hashPiece(hash, entry.data.data(), entry.data.size(), false);
    for (const std::string& field : entry.fields) hashPiece(hash, field.data(), field.size(), true);
    return hash.value();
}

const std::string& TaskEntry::field(size_t i) const {
    static const std::string empty;
    return i < fields.size() ? fields[i] : empty;
}

std::string displayText(const TaskEntry& entry) {
    switch (entry.type) {
        case EntryFile:
        case EntryFolder:
            return fileNameOf(entry.path());
        case EntryRegKey:
            return entry.keyPath();
        case EntryRegText:
            return entry.keyPath() + "\\" +
                   (entry.valueName() == kDefaultValueMarker ? "\"\"" : entry.valueName());
        case EntryRegRaw:
            return entry.keyPath() + "\\" + entry.valueName();
        default:
            return "Unknown";
    }
}

}  // namespace sysrepair
