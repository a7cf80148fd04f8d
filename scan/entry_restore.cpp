#include "scan/entry_restore.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/exact_registry.h"
#include "common/internal_check.h"
#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/registry_roots.h"
#include "common/win_handles.h"

namespace sysrepair {

namespace {

// The leading decimal integer of a text, as a "%d" conversion reads it.
int32_t leadingInt(const std::string& text) {
    int value = 0;
    if (std::sscanf(text.c_str(), "%d", &value) != 1) value = 0;
    return value;
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

RestoreOutcome restoreKey(const TaskEntry& e) {
    win::RegKey key;
    DWORD disposition = 0;
    if (RegCreateKeyExA(win::rootFromName(e.rootName()), e.keyPath().c_str(), 0, nullptr, 0,
                        KEY_QUERY_VALUE, nullptr, key.receive(), &disposition) != ERROR_SUCCESS)
        return RestoreOutcome::RegistryRefused;
    return disposition == REG_OPENED_EXISTING_KEY ? RestoreOutcome::AlreadyInPlace
                                                  : RestoreOutcome::Restored;
}

// The type and bytes an entry's undo writes: a value record's exactly as
// backed up; an old text entry's text (REG_SZ with its terminator) or the
// leading decimal integer of its text (a REG_DWORD).
bool undoneValue(const TaskEntry& e, DWORD& type, std::vector<unsigned char>& data) {
    if (e.type == EntryRegRaw) {
        type = static_cast<DWORD>(e.regType);
        data = e.data;
        return true;
    }
    if (e.valueKind() == "STRING") {
        type = REG_SZ;
        data.assign(e.valueText().begin(), e.valueText().end());
        data.push_back(0);
        return true;
    }
    if (e.valueKind() != "INT") return false;
    const uint32_t u = static_cast<uint32_t>(leadingInt(e.valueText()));
    type = REG_DWORD;
    data = {static_cast<unsigned char>(u & 0xFF), static_cast<unsigned char>((u >> 8) & 0xFF),
            static_cast<unsigned char>((u >> 16) & 0xFF), static_cast<unsigned char>(u >> 24)};
    return true;
}

RestoreOutcome restoreValue(const TaskEntry& e) {
    DWORD type = 0;
    std::vector<unsigned char> data;
    if (!undoneValue(e, type, data)) return RestoreOutcome::NothingToUndo;
    const HKEY root = win::rootFromName(e.rootName());
    DWORD nowType = 0;
    std::vector<unsigned char> now;
    switch (win::readExactValue(root, e.keyPath(), e.valueName(), nowType, now)) {
        case win::ValueRead::Read:
            // Written again since the repair: that is newer than the backup.
            return nowType == type && now == data ? RestoreOutcome::AlreadyInPlace
                                                  : RestoreOutcome::ValueChanged;
        case win::ValueRead::NotExact:
            return RestoreOutcome::ValueChanged;
        case win::ValueRead::Failed:
            return RestoreOutcome::RegistryRefused;
        case win::ValueRead::Missing:
            break;
    }
    return win::writeExactValue(root, e.keyPath(), e.valueName(), type, data)
               ? RestoreOutcome::Restored
               : RestoreOutcome::RegistryRefused;
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
            return restoreKey(*entry);
        case EntryRegText:
        case EntryRegRaw:
            return restoreValue(*entry);
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
