#define RPTRNR_BUILDING
#include "repair/engine/rptrnr.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/exact_registry.h"
#include "common/file_time.h"
#include "common/registry_roots.h"
#include "common/win_handles.h"

namespace {

bool notFound(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool stillAsSeen(const WIN32_FILE_ATTRIBUTE_DATA& now, const RepairExpectation* expected) {
    if (!expected || !(expected->flags & RepairExpectFile)) return true;
    const unsigned long long size =
        (static_cast<unsigned long long>(now.nFileSizeHigh) << 32) | now.nFileSizeLow;
    if (size != expected->fileSize ||
        win::fileTimeValue(now.ftLastWriteTime) != expected->lastWriteTime)
        return false;
    return !(expected->flags & RepairExpectUnused) ||
           win::fileTimeValue(now.ftLastAccessTime) <= expected->latestAccess;
}

// A file counts as removed only once it is really gone: "access denied" to
// the question whether it is there proves nothing.
bool gone(const char* path) {
    return GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES && notFound(GetLastError());
}

int removeFile(const char* path, const RepairExpectation* expected) {
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &now))
        return notFound(GetLastError()) ? RepairAlreadyGone : RepairFailed;
    if (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return RepairChanged;
    if (!stillAsSeen(now, expected)) return RepairChanged;
    if (DeleteFileA(path) || gone(path)) return RepairRemoved;
    // A read-only file is still a found problem: clear the attribute and try
    // again.
    if (!(now.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ||
        !SetFileAttributesA(path, now.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY))
        return RepairFailed;
    if (DeleteFileA(path) || gone(path)) return RepairRemoved;
    SetFileAttributesA(path, now.dwFileAttributes);
    return RepairFailed;
}

int removeFolder(const char* path) {
    if (RemoveDirectoryA(path)) return RepairRemoved;
    const DWORD error = GetLastError();
    if (notFound(error)) return RepairAlreadyGone;
    return error == ERROR_DIR_NOT_EMPTY ? RepairNotEmpty : RepairFailed;
}

// Deletes a key that holds nothing. Its contents are counted through the
// wide functions, so that a value or subkey whose name the ANSI functions
// cannot even list still keeps the key.
int removeEmptyKey(HKEY root, const char* path) {
    {
        win::RegKey key;
        const LONG opened = RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, key.receive());
        if (opened == ERROR_FILE_NOT_FOUND) return RepairAlreadyGone;
        if (opened != ERROR_SUCCESS) return RepairFailed;
        DWORD subkeys = 0, values = 0;
        if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return RepairFailed;
        if (subkeys != 0 || values != 0) return RepairNotEmpty;
    }
    const LONG deleted = RegDeleteKeyA(root, path);
    if (deleted == ERROR_SUCCESS) return RepairRemoved;
    return deleted == ERROR_FILE_NOT_FOUND ? RepairAlreadyGone : RepairFailed;
}

int removeValue(HKEY root, const char* keyPath, const char* name,
                const RepairExpectation* expected) {
    win::RegKey key;
    const LONG opened =
        RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.receive());
    if (opened == ERROR_FILE_NOT_FOUND) return RepairAlreadyGone;
    if (opened != ERROR_SUCCESS) return RepairFailed;
    DWORD type = 0;
    std::vector<unsigned char> data;
    switch (win::readExactValue(key.get(), name, type, data)) {
        case win::ValueRead::Missing:
            return RepairAlreadyGone;
        case win::ValueRead::NotExact:
            return RepairChanged;
        case win::ValueRead::Failed:
            return RepairFailed;
        case win::ValueRead::Read:
            break;
    }
    if (expected && (expected->flags & RepairExpectValue) &&
        (type != expected->valueType || data.size() != expected->dataSize ||
         (!data.empty() &&
          (!expected->data || std::memcmp(data.data(), expected->data, data.size()) != 0))))
        return RepairChanged;
    const LONG deleted = RegDeleteValueA(key.get(), name);
    if (deleted == ERROR_SUCCESS) return RepairRemoved;
    return deleted == ERROR_FILE_NOT_FOUND ? RepairAlreadyGone : RepairFailed;
}

const char* field(const RepairEntry& entry, int i) {
    return entry.fields[i] ? entry.fields[i] : "";
}

int repair(const RepairEntry& entry, const RepairExpectation* expected) {
    if (!entry.fields) return RepairSkipped;
    switch (entry.type) {
        case 0:
            return entry.fieldCount >= 1 && *field(entry, 0) ? removeFile(field(entry, 0), expected)
                                                             : RepairSkipped;
        case 1:
            return entry.fieldCount >= 1 && *field(entry, 0) ? removeFolder(field(entry, 0))
                                                             : RepairSkipped;
        case 2:
            // An empty key path would name the root itself.
            return entry.fieldCount >= 2 && *field(entry, 1)
                       ? removeEmptyKey(win::rootFromName(field(entry, 0)), field(entry, 1))
                       : RepairSkipped;
        case 3:
        case 4:
            return entry.fieldCount >= 3 ? removeValue(win::rootFromName(field(entry, 0)),
                                                       field(entry, 1), field(entry, 2), expected)
                                         : RepairSkipped;
        default:
            return RepairSkipped;
    }
}

// The depth of a key entry's path, for emptying keys from the deepest up.
size_t depthOf(const RepairEntry& entry) {
    if (!entry.fields || entry.fieldCount < 2) return 0;
    const char* path = field(entry, 1);
    return static_cast<size_t>(std::count(path, path + std::strlen(path), '\\'));
}

int run(const RepairList* list, const RepairExpectation* expectations, int* outcomes,
        bool countGone) {
    if (!list || list->count <= 0 || !list->entries) return 0;
    const int count = list->count;
    std::vector<int> order;
    order.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (list->entries[i].type != 2) order.push_back(i);
    std::vector<int> keys;
    for (int i = 0; i < count; ++i)
        if (list->entries[i].type == 2) keys.push_back(i);
    std::stable_sort(keys.begin(), keys.end(), [&](int a, int b) {
        return depthOf(list->entries[a]) > depthOf(list->entries[b]);
    });
    order.insert(order.end(), keys.begin(), keys.end());

    int counted = 0;
    for (int i : order) {
        const int outcome = repair(list->entries[i], expectations ? &expectations[i] : nullptr);
        if (outcomes) outcomes[i] = outcome;
        if (outcome == RepairRemoved || (countGone && outcome == RepairAlreadyGone)) ++counted;
    }
    return counted;
}

}  // namespace

extern "C" int __cdecl RunCheckedReport(const RepairList* list,
                                        const RepairExpectation* expectations, int* outcomes) {
    // Nothing may escape the library boundary.
    try {
        return run(list, expectations, outcomes, false);
    } catch (...) {
        return 0;
    }
}

extern "C" int __cdecl RunReport(const RepairList* list) {
    try {
        return run(list, nullptr, nullptr, true);
    } catch (...) {
        return 0;
    }
}
