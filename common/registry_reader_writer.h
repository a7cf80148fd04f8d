// The registry helper of all three programs: one key below one root, values
// read and written one at a time, and one enumeration of value or subkey
// names that stays open between calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/win_handles.h"

namespace win {

class RegistryReaderWriter {
public:
    RegistryReaderWriter();
    virtual ~RegistryReaderWriter();
    RegistryReaderWriter(const RegistryReaderWriter&) = delete;
    RegistryReaderWriter& operator=(const RegistryReaderWriter&) = delete;

    // The key path "null" means that no key is set.
    bool setKey(const std::string& path);
    bool setRoot(HKEY root);
    const std::string& key() const { return keyPath; }
    HKEY rootKey() const { return root; }
    // The registry view every later open of the key uses: 0 for the
    // process's own, KEY_WOW64_32KEY or KEY_WOW64_64KEY for another.
    void setView(REGSAM viewFlag) { view = viewFlag; }

    // The value's first four data bytes, little-endian; -1 and ok = false on
    // failure (a value longer than four bytes fails).
    int32_t readInt(const std::string& name, bool& ok);
    // The value's data as text, at most 260 bytes; "null" and ok = false on
    // failure.
    std::string readString(const std::string& name, bool& ok);
    bool writeInt(int32_t number, const std::string& name);
    bool writeString(const std::string& text, const std::string& name);
    bool writeRaw(const void* bytes, DWORD regType, DWORD size, const std::string& name);
    // Win32 status of the query: 0 on success, ERROR_MORE_DATA when the buffer
    // is too small; -1 when no key is set. A null buffer asks for type and
    // size only.
    LONG readRaw(void* buffer, DWORD& regType, DWORD& size, const std::string& name);
    bool valueExists(const std::string& name);
    bool deleteValue(const std::string& name);

    bool openValues();
    bool openSubkeys();
    std::string nextValueName(bool& ok);
    std::string nextSubkeyName(bool& ok);

    static constexpr DWORD textBufferSize = 260;
    static constexpr DWORD valueNameSize = 1000;
    static constexpr DWORD keyNameSize = 1000;

private:
    bool openEnumeration(REGSAM access);
    LSTATUS createKey(win::RegKey& key) const;

    std::string keyPath;
    HKEY root;
    REGSAM view = 0;
    win::RegKey enumHandle;
    uint32_t enumIndex = 0;
    std::vector<char> textBuffer;
};

}  // namespace win
