#include "scan/keep_list.h"

#include <cstdio>

#include "common/text_hash.h"

namespace sysrepair {

namespace {

const char kFirstLine[] = "Mendora kept items 1";
const char kLineEnd[] = "\r\n";

bool startsWithIgnoringAsciiCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() &&
           textEqualsIgnoringAsciiCase(text.substr(0, start.size()), start);
}

bool endsWithIgnoringAsciiCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           textEqualsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

bool isRegistryEntry(const TaskEntry& entry) {
    return entry.type == EntryRegKey || entry.type == EntryRegText || entry.type == EntryRegRaw;
}

// Values are one kind of problem, whichever way their data was recorded.
uint8_t problemType(uint8_t type) {
    return type == EntryRegRaw ? static_cast<uint8_t>(EntryRegText) : type;
}

size_t namingFieldCount(uint8_t type) {
    switch (type) {
        case EntryFile:
        case EntryFolder:
            return 1;
        case EntryRegKey:
            return 2;
        default:
            return 3;
    }
}

// The key's path is at or below the kept key's.
bool keyAtOrBelow(const std::string& path, const std::string& kept) {
    return startsWithIgnoringAsciiCase(path, kept) &&
           (path.size() == kept.size() || path[kept.size()] == '\\');
}

std::string withoutTrailingBackslash(std::string path) {
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    return path;
}

// The folder a path lies in, with its backslash; empty when it has none.
std::string folderOf(const std::string& path) {
    const std::string own = withoutTrailingBackslash(path);
    const size_t slash = own.rfind('\\');
    return slash == std::string::npos ? std::string() : own.substr(0, slash + 1);
}

std::string extensionOf(const std::string& path) {
    const size_t slash = path.rfind('\\');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return std::string();
    const std::string ext = name.substr(dot);
    return ext.size() <= 32 ? ext : std::string();
}

const char* typeWord(uint8_t type) {
    switch (type) {
        case EntryFile:
            return "file";
        case EntryFolder:
            return "folder";
        case EntryRegKey:
            return "key";
        default:
            return "value";
    }
}

bool typeFromWord(const std::string& word, uint8_t& type) {
    for (uint8_t t : {EntryFile, EntryFolder, EntryRegKey, EntryRegText})
        if (word == typeWord(t)) {
            type = t;
            return true;
        }
    return false;
}

void appendEscaped(std::string& out, const std::string& text) {
    for (unsigned char c : text) {
        if (c == '%' || c < 0x20 || c == 0x7f) {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool unescape(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) return false;
        if (c != '%') {
            out += static_cast<char>(c);
            continue;
        }
        if (i + 2 >= text.size()) return false;
        const int high = hexValue(text[i + 1]), low = hexValue(text[i + 2]);
        // Only what must be escaped may be: one list, one text.
        const int value = high * 16 + low;
        if (high < 0 || low < 0 || !(value == '%' || value < 0x20 || value == 0x7f)) return false;
        out += static_cast<char>(value);
        i += 2;
    }
    return true;
}

std::vector<std::string> splitAtTabs(const std::string& line) {
    std::vector<std::string> words;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        words.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos) return words;
        start = tab + 1;
    }
}

std::string checkValueText(const std::string& text) {
    win::TextHash hash;
    hash.add(text.data(), text.size());
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash.value()));
    return hex;
}

bool wellFormed(const KeptItem& item) {
    for (const std::string& name : item.names)
        if (name.empty()) return false;
    switch (item.kind) {
        case KeptKind::Problem:
            return item.names.size() == namingFieldCount(item.entryType);
        case KeptKind::Folder:
            return item.names.size() == 1 && item.names[0].back() == '\\';
        case KeptKind::Key:
            return item.names.size() == 2;
        case KeptKind::FileType:
            return item.names.size() == 1 && item.names[0].size() >= 2 && item.names[0][0] == '.' &&
                   item.names[0].find('\\') == std::string::npos;
    }
    return false;
}

bool itemFromWords(const std::vector<std::string>& words, KeptItem& item) {
    std::vector<std::string> names;
    size_t first = 1;
    if (words[0] == "problem") {
        if (words.size() < 2 || !typeFromWord(words[1], item.entryType)) return false;
        item.kind = KeptKind::Problem;
        first = 2;
    } else if (words[0] == "folder") {
        item.kind = KeptKind::Folder;
    } else if (words[0] == "key") {
        item.kind = KeptKind::Key;
    } else if (words[0] == "type") {
        item.kind = KeptKind::FileType;
    } else {
        return false;
    }
    for (size_t i = first; i < words.size(); ++i) {
        std::string name;
        if (!unescape(words[i], name)) return false;
        names.push_back(std::move(name));
    }
    item.names = std::move(names);
    return wellFormed(item);
}

}  // namespace

bool keeps(const KeptItem& item, const TaskEntry& entry) {
    if (item.names.empty()) return false;
    switch (item.kind) {
        case KeptKind::Problem: {
            if (problemType(entry.type) != item.entryType) return false;
            if (entry.fields.size() < item.names.size()) return false;
            for (size_t i = 0; i < item.names.size(); ++i)
                if (!textEqualsIgnoringAsciiCase(entry.fields[i], item.names[i])) return false;
            return true;
        }
        case KeptKind::Folder: {
            if (entry.type != EntryFile && entry.type != EntryFolder) return false;
            const std::string& path = entry.path();
            return startsWithIgnoringAsciiCase(path, item.names[0]) ||
                   textEqualsIgnoringAsciiCase(path, withoutTrailingBackslash(item.names[0]));
        }
        case KeptKind::Key:
            return item.names.size() == 2 && isRegistryEntry(entry) &&
                   textEqualsIgnoringAsciiCase(entry.rootName(), item.names[0]) &&
                   keyAtOrBelow(entry.keyPath(), item.names[1]);
        case KeptKind::FileType:
            return entry.type == EntryFile && entry.path().size() > item.names[0].size() &&
                   endsWithIgnoringAsciiCase(entry.path(), item.names[0]) &&
                   entry.path()[entry.path().size() - item.names[0].size() - 1] != '\\';
    }
    return false;
}

bool sameKeptItem(const KeptItem& a, const KeptItem& b) {
    if (a.kind != b.kind || a.names.size() != b.names.size()) return false;
    if (a.kind == KeptKind::Problem && a.entryType != b.entryType) return false;
    for (size_t i = 0; i < a.names.size(); ++i)
        if (!textEqualsIgnoringAsciiCase(a.names[i], b.names[i])) return false;
    return true;
}

std::vector<KeptItem> keepChoices(const TaskEntry& entry) {
    std::vector<KeptItem> choices;
    const size_t count = namingFieldCount(problemType(entry.type));
    if (entry.type > EntryRegRaw || entry.fields.size() < count) return choices;
    KeptItem problem;
    problem.entryType = problemType(entry.type);
    problem.names.assign(entry.fields.begin(), entry.fields.begin() + count);
    if (!wellFormed(problem)) return choices;
    choices.push_back(problem);

    if (entry.type == EntryFile || entry.type == EntryFolder) {
        const std::string folder = folderOf(entry.path());
        if (!folder.empty()) choices.push_back(KeptItem{KeptKind::Folder, EntryFile, {folder}});
        const std::string ext = entry.type == EntryFile ? extensionOf(entry.path()) : "";
        if (!ext.empty()) choices.push_back(KeptItem{KeptKind::FileType, EntryFile, {ext}});
    } else if (entry.type == EntryRegKey) {
        const size_t slash = entry.keyPath().rfind('\\');
        if (slash != std::string::npos && slash > 0)
            choices.push_back(KeptItem{
                KeptKind::Key, EntryFile, {entry.rootName(), entry.keyPath().substr(0, slash)}});
    } else {
        choices.push_back(KeptItem{KeptKind::Key, EntryFile, {entry.rootName(), entry.keyPath()}});
    }
    return choices;
}

std::string keptKindText(KeptKind kind) {
    switch (kind) {
        case KeptKind::Problem:
            return "Problem";
        case KeptKind::Folder:
            return "Folder";
        case KeptKind::Key:
            return "Key";
        case KeptKind::FileType:
            return "File type";
    }
    return std::string();
}

std::string keptItemText(const KeptItem& item) {
    std::string text;
    for (const std::string& name : item.names) {
        if (!text.empty() && text.back() != '\\') text += '\\';
        text += name;
    }
    return text;
}

bool KeepList::contains(const KeptItem& item) const {
    for (const KeptItem& kept : items_)
        if (sameKeptItem(kept, item)) return true;
    return false;
}

bool KeepList::add(const KeptItem& item) {
    if (!wellFormed(item) || items_.size() >= kMostItems || contains(item)) return false;
    items_.push_back(item);
    return true;
}

void KeepList::removeAt(size_t index) {
    if (index < items_.size()) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool KeepList::keepsEntry(const TaskEntry& entry) const {
    for (const KeptItem& item : items_)
        if (keeps(item, entry)) return true;
    return false;
}

std::string formatKeepList(const KeepList& list) {
    std::string text = std::string(kFirstLine) + kLineEnd;
    for (const KeptItem& item : list.items()) {
        switch (item.kind) {
            case KeptKind::Problem:
                text += std::string("problem\t") + typeWord(item.entryType);
                break;
            case KeptKind::Folder:
                text += "folder";
                break;
            case KeptKind::Key:
                text += "key";
                break;
            case KeptKind::FileType:
                text += "type";
                break;
        }
        for (const std::string& name : item.names) {
            text += '\t';
            appendEscaped(text, name);
        }
        text += kLineEnd;
    }
    const std::string check = checkValueText(text);
    return text + "end\t" + std::to_string(list.items().size()) + "\t" + check + kLineEnd;
}

bool parseKeepList(const std::string& text, KeepList& list) {
    list = KeepList();
    if (text.size() > KeepList::kMostBytes) return false;
    KeepList read;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        const size_t end = text.find(kLineEnd, start);
        if (end == std::string::npos) return false;
        const std::string line = text.substr(start, end - start);
        const size_t next = end + 2;
        if (first) {
            if (line != kFirstLine) return false;
            first = false;
        } else if (line.compare(0, 4, "end\t") == 0) {
            // The last line: nothing may follow it, and it must vouch for
            // exactly what came before.
            const std::vector<std::string> words = splitAtTabs(line);
            if (next != text.size() || words.size() != 3 ||
                words[1] != std::to_string(read.items().size()) ||
                words[2] != checkValueText(text.substr(0, start)))
                return false;
            list = std::move(read);
            return true;
        } else {
            KeptItem item;
            if (!itemFromWords(splitAtTabs(line), item) || !read.add(item)) return false;
        }
        start = next;
    }
    return false;
}

}  // namespace sysrepair
