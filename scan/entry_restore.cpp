#include "scan/entry_restore.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/internal_check.h"
#include "common/message_box.h"
#include "common/registry_reader_writer.h"
#include "common/registry_roots.h"

namespace sysrepair {

namespace {

const char kTempKeyValue[] = "-=|BL_TMP_REG_KEY_VALUE|=-";

const std::string& fieldAt(const TaskEntry& e, size_t i) {
    static const std::string empty;
    return i < e.fields.size() ? e.fields[i] : empty;
}

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

bool restoreFile(const TaskEntry& e) {
    const std::string& path = fieldAt(e, 0);
    const std::string& backup = fieldAt(e, 1);
    if (!CopyFileA(backup.c_str(), path.c_str(), TRUE)) return false;
    return DeleteFileA(backup.c_str()) != 0;
}

bool restoreRegistry(const TaskEntry& e) {
    RegistryReaderWriter reg;
    reg.setRoot(rootFromName(fieldAt(e, 0)));
    reg.setKey(fieldAt(e, 1));
    switch (e.type) {
        case EntryRegKey:
            // Writing a value makes the key; the value is not wanted afterwards.
            reg.writeInt(0, kTempKeyValue);
            reg.deleteValue(kTempKeyValue);
            return true;
        case EntryRegText:
            if (fieldAt(e, 3) == "STRING") return reg.writeString(fieldAt(e, 4), fieldAt(e, 2));
            if (fieldAt(e, 3) == "INT")
                return reg.writeInt(leadingInt(fieldAt(e, 4)), fieldAt(e, 2));
            return true;
        default: {  // EntryRegRaw
            const std::vector<unsigned char> data = restoredData(e);
            return reg.writeRaw(data.data(), static_cast<DWORD>(e.regType),
                                static_cast<DWORD>(data.size()), fieldAt(e, 2));
        }
    }
}

}  // namespace

bool restoreTaskEntry(const TaskEntry* entry) {
    INTERNAL_CHECK(entry != nullptr, "entry != NULL", "taskManager", 310);
    switch (entry->type) {
        case EntryFile:
            return restoreFile(*entry);
        case EntryFolder:
            return CreateDirectoryA(fieldAt(*entry, 0).c_str(), nullptr) != 0;
        case EntryRegKey:
        case EntryRegText:
        case EntryRegRaw:
            return restoreRegistry(*entry);
        default:
            showMessageOnUiThread("Unknown Task Entry Type", std::to_string(entry->type), MB_OK);
            return true;
    }
}

}  // namespace sysrepair
