#include "scan/task_entry.h"

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

// A number in decimal and its end mark.
void appendNumber(std::string& key, uint64_t n) {
    key += std::to_string(n);
    key += ';';
}

// A piece: its length, then its bytes, with the zero byte (and the escape
// byte itself) written as two bytes: pieces never run into each other, and
// the key holds no zero byte.
void appendPiece(std::string& key, const unsigned char* bytes, size_t length, bool foldCase) {
    appendNumber(key, length);
    for (size_t i = 0; i < length; ++i) {
        const unsigned char c = foldCase ? lowerAscii(bytes[i]) : bytes[i];
        if (c == 0 || c == 1) {
            key += '\x01';
            key += static_cast<char>('0' + c);
        } else {
            key += static_cast<char>(c);
        }
    }
}

}  // namespace

std::string entryKey(const TaskEntry& entry) {
    std::string key;
    appendNumber(key, entry.type);
    appendNumber(key, static_cast<uint32_t>(entry.regType));
    appendPiece(key, entry.data.data(), entry.data.size(), false);
    appendNumber(key, entry.fields.size());
    for (const std::string& field : entry.fields)
        appendPiece(key, reinterpret_cast<const unsigned char*>(field.data()), field.size(), true);
    return key;
}

std::string displayText(const TaskEntry& entry) {
    auto field = [&](size_t i) {
        return i < entry.fields.size() ? entry.fields[i] : std::string();
    };
    switch (entry.type) {
        case EntryFile:
        case EntryFolder:
            return fileNameOf(field(0));
        case EntryRegKey:
            return field(1);
        case EntryRegText:
            return field(1) + "\\" + (field(2) == kDefaultValueMarker ? "\"\"" : field(2));
        case EntryRegRaw:
            return field(1) + "\\" + field(2);
        default:
            return "Unknown";
    }
}

}  // namespace sysrepair
