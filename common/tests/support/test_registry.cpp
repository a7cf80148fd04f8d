#include "common/tests/support/test_registry.h"

#include <shlwapi.h>

#include <atomic>
#include <stdexcept>

namespace testing_support {

std::string uniqueName(const std::string& stem) {
    static std::atomic<unsigned> counter{0};
    return stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(counter++);
}

ScopedTestKey::ScopedTestKey(HKEY root, const std::string& parent)
    : root_(root), path_(parent + "\\" + uniqueName("key")) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create test key " + path_);
    RegCloseKey(key);
}

ScopedTestKey::~ScopedTestKey() {
    deleteKeyTree(root_, path_);
}

void ScopedTestKey::setValue(const std::string& name, DWORD type, const void* data,
                             DWORD size) const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, path_.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        throw std::runtime_error("cannot open test key");
    const LONG status =
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set test value");
}

void ScopedTestKey::setString(const std::string& name, const std::string& text) const {
    setValue(name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool deleteKeyTree(HKEY root, const std::string& path, REGSAM view) {
    const std::string::size_type slash = path.rfind('\\');
    if (view == 0 || slash == std::string::npos) {
        SHDeleteKeyA(root, path.c_str());
    } else {
        // The tree delete takes no view: it works below a parent opened in it.
        HKEY parent = nullptr;
        if (RegOpenKeyExA(root, path.substr(0, slash).c_str(), 0, KEY_ALL_ACCESS | view, &parent) ==
            ERROR_SUCCESS) {
            SHDeleteKeyA(parent, path.substr(slash + 1).c_str());
            RegCloseKey(parent);
        }
    }
    return !keyExists(root, path, view);
}

bool keyExists(HKEY root, const std::string& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

}  // namespace testing_support
