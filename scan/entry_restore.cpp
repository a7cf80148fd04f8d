#include "scan/entry_restore.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/internal_check.h"
#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/registry_roots.h"
#include "common/win_handles.h"

namespace sysrepair {

namespace {

const char kTempKeyValue[] = "-=|BL_TMP_REG_KEY_VALUE|=-";

// The leading decimal integer of a text, as a "%d" conversion reads it.
int32_t leadingInt(const std::string& text) {
    int value = 0;
    if (std::sscanf(text.c_str(), "%d", &value) != 1) value = 0;
    return value;
}

bool isTextType(int32_t regType) {
    return regType == REG_SZ || regType == REG_EXPAND_SZ || regType == REG_MULTI_SZ;
}

// A text value read back from a backup report may lack its terminating zero
// (the report stores found texts without one); written back as it stands,
// the value would differ from the one that was removed.
std::vector<unsigned char> restoredData(const TaskEntry& e) {
    std::vector<unsigned char> data = e.data;
    if (isTextType(e.regType) && (data.empty() || data.back() != 0)) data.push_back(0);
    return data;
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

bool exists(const std::string& path) {
    return attributesOf(path) != INVALID_FILE_ATTRIBUTES;
}

bool isFolder(const std::string& path) {
    const DWORD a = attributesOf(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether two files hold the same bytes.
bool sameContents(const std::string& a, const std::string& b) {
    win::FileHandle fa(CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    win::FileHandle fb(CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!fa || !fb) return false;
    LARGE_INTEGER sa, sb;
    if (!GetFileSizeEx(fa.get(), &sa) || !GetFileSizeEx(fb.get(), &sb) ||
        sa.QuadPart != sb.QuadPart)
        return false;
    std::vector<char> ba(64 * 1024), bb(64 * 1024);
    for (;;) {
        DWORD na = 0, nb = 0;
        if (!ReadFile(fa.get(), ba.data(), static_cast<DWORD>(ba.size()), &na, nullptr) ||
            !ReadFile(fb.get(), bb.data(), static_cast<DWORD>(bb.size()), &nb, nullptr) || na != nb)
            return false;
        if (na == 0) return true;
        if (std::memcmp(ba.data(), bb.data(), na) != 0) return false;
    }
}

RestoreOutcome restoreFile(const TaskEntry& e, BackupCopy copy) {
    const std::string& path = e.path();
    const std::string& backup = e.backupCopy();
    if (backup == kNoCopyMarker) return RestoreOutcome::NothingToUndo;
    if (!exists(backup)) return RestoreOutcome::CopyMissing;
    if (exists(path)) {
        // A file the repair could not remove, or one put back by hand.
        if (isFolder(path) || !sameContents(path, backup)) return RestoreOutcome::NameTaken;
        if (copy == BackupCopy::Delete) DeleteFileA(backup.c_str());
        return RestoreOutcome::AlreadyInPlace;
    }
    if (!CopyFileA(backup.c_str(), path.c_str(), TRUE))
        return exists(path) ? RestoreOutcome::NameTaken : RestoreOutcome::CopyFailed;
    // The file is back; a copy that cannot be deleted only takes room.
    if (copy == BackupCopy::Delete) DeleteFileA(backup.c_str());
    return RestoreOutcome::Restored;
}

RestoreOutcome restoreFolder(const TaskEntry& e) {
    const std::string& path = e.path();
    if (CreateDirectoryA(path.c_str(), nullptr)) return RestoreOutcome::Restored;
    if (isFolder(path)) return RestoreOutcome::AlreadyInPlace;
    return exists(path) ? RestoreOutcome::NameTaken : RestoreOutcome::FolderNotMade;
}

bool restoreRegistry(const TaskEntry& e) {
    win::RegistryReaderWriter reg;
    reg.setRoot(win::rootFromName(e.rootName()));
    reg.setKey(e.keyPath());
    switch (e.type) {
        case EntryRegKey:
            // Writing a value makes the key; the value is not wanted afterwards.
            reg.writeInt(0, kTempKeyValue);
            reg.deleteValue(kTempKeyValue);
            return true;
        case EntryRegText:
            if (e.valueKind() == "STRING") return reg.writeString(e.valueText(), e.valueName());
            if (e.valueKind() == "INT")
                return reg.writeInt(leadingInt(e.valueText()), e.valueName());
            return true;
        default: {  // EntryRegRaw
            const std::vector<unsigned char> data = restoredData(e);
            return reg.writeRaw(data.data(), static_cast<DWORD>(e.regType),
                                static_cast<DWORD>(data.size()), e.valueName());
        }
    }
}

}  // namespace

RestoreOutcome restoreEntryOutcome(const TaskEntry* entry, BackupCopy copy) {
    INTERNAL_CHECK(entry != nullptr, "entry != NULL", "taskManager", 310);
    switch (entry->type) {
        case EntryFile:
            return restoreFile(*entry, copy);
        case EntryFolder:
            return restoreFolder(*entry);
        case EntryRegKey:
        case EntryRegText:
        case EntryRegRaw:
            return restoreRegistry(*entry) ? RestoreOutcome::Restored
                                           : RestoreOutcome::RegistryRefused;
        default:
            win::showMessageOnUiThread("Unknown Task Entry Type", std::to_string(entry->type),
                                       MB_OK);
            return RestoreOutcome::Restored;
    }
}

bool restoreTaskEntry(const TaskEntry* entry) {
    return restoreEntryOutcome(entry) == RestoreOutcome::Restored;
}

}  // namespace sysrepair
