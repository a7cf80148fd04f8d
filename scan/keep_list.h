// The things the user chose to keep for good: single problems, folders,
// registry keys and file types that no scan lists again, and the text form
// they are stored in. Portable: no Win32.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "scan/task_entry.h"

namespace sysrepair {

enum class KeptKind { Problem, Folder, Key, FileType };

struct KeptItem {
    KeptKind kind = KeptKind::Problem;
    // Problem: the entry's type (file, folder, key, or a value of either
    // kind) and its naming fields: [path], [root, key path] or [root, key
    // path, value name]. Folder: [folder path ending in a backslash]. Key:
    // [root, key path]. FileType: [extension with its dot].
    uint8_t entryType = EntryFile;
    std::vector<std::string> names;
};

// Whether the item keeps the entry: the same problem (values by their name,
// whatever their data), a file or folder at or below the folder, a registry
// entry at or below the key, a file whose name ends in the extension; ASCII
// letters compared without regard to case, as Windows compares names.
bool keeps(const KeptItem& item, const TaskEntry& entry);

// The same item, by the same comparison.
bool sameKeptItem(const KeptItem& a, const KeptItem& b);

// What the user may keep of a found entry, most specific first: the problem
// itself, the folder of a file or folder, the key of a value or above a key,
// and the type of a file with an extension.
std::vector<KeptItem> keepChoices(const TaskEntry& entry);

// For lists and menus: "Problem", "Folder", "Key", "File type".
std::string keptKindText(KeptKind kind);
// The item in one line: a path, "HKEY_...\key", "HKEY_...\key\value", ".log".
std::string keptItemText(const KeptItem& item);

class KeepList {
public:
    const std::vector<KeptItem>& items() const { return items_; }
    bool empty() const { return items_.empty(); }
    // False, and nothing changes, when an equal item is kept already or the
    // list is full.
    bool add(const KeptItem& item);
    bool contains(const KeptItem& item) const;
    void removeAt(size_t index);
    bool keepsEntry(const TaskEntry& entry) const;

    // The most items a list holds, and bytes its text takes.
    static const size_t kMostItems = 10000;
    static const size_t kMostBytes = 4 << 20;

private:
    std::vector<KeptItem> items_;
};

// The stored form: a first line naming the format, one line per item (tab-
// separated words, with '%', tabs and line ends written as %XX), and a last
// line with the count and a check value of everything before it.
std::string formatKeepList(const KeepList& list);
// False for anything that is not a whole, unchanged list in that form
// (truncated, edited, another format, too long); the list is then empty:
// a damaged list keeps nothing.
bool parseKeepList(const std::string& text, KeepList& list);

}  // namespace sysrepair
