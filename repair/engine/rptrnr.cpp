#define RPTRNR_BUILDING
#include "repair/engine/rptrnr.h"

#include <windows.h>

#include <string>

#include "common/registry_roots.h"
#include "common/win_handles.h"

namespace {

bool deleteFile(const char* path) {
    // The attributes are asked only when the delete fails: a repair deletes
    // tens of thousands of files, and each question is a round trip.
    if (DeleteFileA(path)) return true;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return true;
    // A read-only file is still a found problem: clear the attribute and try
    // again.
    if (!(attributes & FILE_ATTRIBUTE_READONLY) ||
        !SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    return DeleteFileA(path) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

bool removeFolder(const char* path) {
    return RemoveDirectoryA(path) || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES;
}

// Deletes a key and everything below it, deepest first.
bool deleteKeyTree(HKEY root, const std::string& path) {
    {
        win::RegKey key;
        const LONG opened = RegOpenKeyExA(root, path.c_str(), 0,
                                          KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE, key.receive());
        if (opened == ERROR_FILE_NOT_FOUND) return true;
        if (opened != ERROR_SUCCESS) return false;
        char name[1024];
        for (;;) {
            DWORD size = sizeof name;
            // Always index 0: each pass deletes the subkey it found.
            if (RegEnumKeyExA(key.get(), 0, name, &size, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            if (!deleteKeyTree(root, path + "\\" + name)) return false;
        }
    }
    return RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool deleteValue(HKEY root, const char* keyPath, const char* name) {
    win::RegKey key;
    const LONG opened = RegOpenKeyExA(root, keyPath, 0, KEY_SET_VALUE, key.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const LONG deleted = RegDeleteValueA(key.get(), name);
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool repair(const RepairEntry& entry) {
    const auto field = [&](int i) { return entry.fields[i] ? entry.fields[i] : ""; };
    if (!entry.fields) return false;
    switch (entry.type) {
        case 0:
            return entry.fieldCount >= 1 && deleteFile(field(0));
        case 1:
            return entry.fieldCount >= 1 && removeFolder(field(0));
        case 2:
            // An empty key path would name the root itself.
            return entry.fieldCount >= 2 && *field(1) &&
                   deleteKeyTree(win::rootFromName(field(0)), field(1));
        case 3:
        case 4:
            return entry.fieldCount >= 3 &&
                   deleteValue(win::rootFromName(field(0)), field(1), field(2));
        default:
            return false;
    }
}

}  // namespace

extern "C" int __cdecl RunReport(const RepairList* list) {
    // Nothing may escape the library boundary.
    try {
        if (!list || list->count <= 0 || !list->entries) return 0;
        int repaired = 0;
        for (int i = 0; i < list->count; ++i)
            if (repair(list->entries[i])) ++repaired;
        return repaired;
    } catch (...) {
        return 0;
    }
}
