#include "scan/categories/scanned_keys.h"

#include <vector>

#include "common/win_handles.h"

namespace sysrepair {

namespace {

// The kernel's name of an open key, which both views give a shared key;
// empty when it cannot be read.
std::wstring kernelName(HKEY key) {
    using QueryKey = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static const QueryKey query = reinterpret_cast<QueryKey>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryKey")));
    const int kNameInformation = 3;  // KeyNameInformation
    if (!query) return std::wstring();
    ULONG size = 0;
    query(key, kNameInformation, nullptr, 0, &size);
    if (size < sizeof(ULONG)) return std::wstring();
    std::vector<ULONG> buffer(size / sizeof(ULONG) + 1);
    if (query(key, kNameInformation, buffer.data(), size, &size) != 0) return std::wstring();
    const ULONG bytes = buffer[0];
    if (bytes > size - sizeof(ULONG)) return std::wstring();
    return std::wstring(reinterpret_cast<const wchar_t*>(buffer.data() + 1),
                        bytes / sizeof(wchar_t));
}

bool sameKey(HKEY root, const std::string& a, const std::string& b) {
    win::RegKey first;
    win::RegKey second;
    if (RegOpenKeyExA(root, a.c_str(), 0, KEY_QUERY_VALUE, first.receive()) != ERROR_SUCCESS ||
        RegOpenKeyExA(root, b.c_str(), 0, KEY_QUERY_VALUE, second.receive()) != ERROR_SUCCESS)
        return false;
    const std::wstring name = kernelName(first.get());
    return !name.empty() && name == kernelName(second.get());
}

}  // namespace

std::vector<ScannedKey> scannedKeys(HKEY root, const std::string& ownPath,
                                    const std::string& path32) {
    std::vector<ScannedKey> keys = {{ownPath, false}};
    if (sizeof(void*) == 8 && !sameKey(root, ownPath, path32)) keys.push_back({path32, true});
    return keys;
}

}  // namespace sysrepair
