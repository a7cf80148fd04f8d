#include "scoped_registry_value.h"

#include "test_registry.h"
#include "win_handles.h"

namespace testing_support {

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name)
    : root_(root), key_(key), name_(name) {
    win::RegKey opened;
    keyExisted_ = RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, opened.receive()) == ERROR_SUCCESS;
    if (!keyExisted_) return;
    DWORD size = 0;
    if (RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type_, nullptr, &size) !=
        ERROR_SUCCESS)
        return;
    data_.resize(size);
    valueExisted_ = RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type_, data_.data(),
                                     &size) == ERROR_SUCCESS;
    data_.resize(size);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (!keyExisted_) {
        deleteKeyTree(root_, key_);
        return;
    }
    win::RegKey opened;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_WRITE, opened.receive()) != ERROR_SUCCESS) return;
    if (valueExisted_)
        RegSetValueExA(opened.get(), name_.c_str(), 0, type_, data_.data(),
                       static_cast<DWORD>(data_.size()));
    else
        RegDeleteValueA(opened.get(), name_.c_str());
}

void ScopedRegistryValue::setString(const std::string& text) const {
    win::RegKey opened;
    if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, opened.receive(),
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(opened.get(), name_.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

bool ScopedRegistryValue::readNumber(DWORD& number) const {
    win::RegKey opened;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ, opened.receive()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = sizeof number;
    return RegQueryValueExA(opened.get(), name_.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(&number), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof number;
}

}  // namespace testing_support
