// One found problem, and equally one backup record and one undo instruction:
// a file, a folder, a registry key or a registry value. Portable: no Win32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sysrepair {

enum EntryType : uint8_t {
    EntryFile = 0,     // [file path]; read back from a backup: [file path, backup copy]
    EntryFolder = 1,   // [folder path]
    EntryRegKey = 2,   // [root name, key path]
    EntryRegText = 3,  // [root name, key path, value name, "STRING" or "INT", data text]
    EntryRegRaw = 4,   // [root name, key path, value name] + regType and data
};

// Stands for a key's unnamed default value in display texts.
extern const char kDefaultValueMarker[];
// Both paths of a file entry read back from a backup whose copy could not be
// made; the repair left such a file alone.
extern const char kNoCopyMarker[];

// What a file scanner saw of a file, so that a repair removes the file only
// while it is still the one shown. Scan-time facts: never part of a backup.
enum FileCheck : uint8_t {
    FileStampKnown = 1,  // size and lastWrite below hold
    FoundUnused = 2,     // found because it was not used today
};

struct TaskEntry {
    std::vector<std::string> fields;
    uint8_t type = EntryFile;
    uint8_t fileChecks = 0;  // FileCheck flags, for EntryFile
    // The user chose to leave it as it is in this repair.
    bool leftAlone = false;
    int32_t regType = 0;
    std::vector<unsigned char> data;
    uint64_t fileSize = 0;
    uint64_t lastWrite = 0;  // FILETIME: 100 ns units since 1601, UTC

    int32_t dataSize() const { return static_cast<int32_t>(data.size()); }

    // The fields by what they hold for the entry's type (above); a field the
    // entry lacks reads as empty.
    const std::string& field(size_t i) const;
    const std::string& path() const { return field(0); }        // file, folder
    const std::string& backupCopy() const { return field(1); }  // file read back
    const std::string& rootName() const { return field(0); }    // registry entries
    const std::string& keyPath() const { return field(1); }
    const std::string& valueName() const { return field(2); }  // values
    const std::string& valueKind() const { return field(3); }  // "STRING" or "INT"
    const std::string& valueText() const { return field(4); }

    // Makes this an EntryRegRaw holding a copy of the bytes.
    void setRawValue(int32_t valueType, const void* bytes, int32_t length);

    // Why the scan listed the entry. A file found unused keeps the time it
    // was last used (FILETIME); any other entry a text in words the user can
    // check, owned by its category (BasicTask::keepReason) and valid while
    // the category keeps this scan's entries. The entries of a key's tree
    // share their key's text: they were found as one problem, and are
    // repaired or left alone together. One slot for both: a scan keeps tens
    // of thousands of entries.
    uint64_t lastAccess() const { return fileChecks & FoundUnused ? found_.lastAccess : 0; }
    void setLastAccess(uint64_t fileTime) { found_.lastAccess = fileTime; }
    const std::string* reason() const { return fileChecks & FoundUnused ? nullptr : found_.reason; }
    void setReason(const std::string* text) { found_.reason = text; }

private:
    union Found {
        uint64_t lastAccess;
        const std::string* reason;
    };
    Found found_{0};
};

// Same type, field count, data size, regType and data bytes, and fields equal
// position by position with ASCII letters compared without regard to case.
bool entriesEqual(const TaskEntry& a, const TaskEntry& b);

// Equal for entries that entriesEqual holds for: for finding an entry among
// many in constant time.
uint64_t entryHash(const TaskEntry& entry);

// Equality of two texts, ASCII letters compared without regard to case.
bool textEqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

// The one-line form of an entry in the problem report.
std::string displayText(const TaskEntry& entry);

}  // namespace sysrepair
