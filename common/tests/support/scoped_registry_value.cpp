#include "common/tests/support/scoped_registry_value.h"

#include "common/tests/support/test_registry.h"
#include "common/win_handles.h"

#include <stdexcept>

namespace testing_support {

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name)
    : ScopedRegistryValue(root, key, name, REGSAM(0)) {}

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name,
                                         REGSAM view)
    : root_(root), view_(view), key_(key), name_(name) {
    win::RegKey opened;
    keyExisted_ =
        RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view_, opened.receive()) == ERROR_SUCCESS;
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

ScopedRegistryValue::ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name,
                                         const std::string& text)
    : ScopedRegistryValue(root, key, name) {
    setString(text);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    {
        win::RegKey opened;
        if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_WRITE | KEY_QUERY_VALUE | view_,
                          opened.receive()) != ERROR_SUCCESS)
            return;
        if (valueExisted_)
            RegSetValueExA(opened.get(), name_.c_str(), 0, type_, data_.data(),
                           static_cast<DWORD>(data_.size()));
        else
            RegDeleteValueA(opened.get(), name_.c_str());
        if (keyExisted_) return;
        // A key the test made goes again, but only while nothing else is in
        // it: another program may have written to it meanwhile (such as
        // Mendora's process id, in the key of the suite's own values).
        DWORD subkeys = 0, values = 0;
        if (RegQueryInfoKeyA(opened.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                             &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
            subkeys != 0 || values != 0)
            return;
    }
    RegDeleteKeyExA(root_, key_.c_str(), view_, 0);
}

void ScopedRegistryValue::setString(const std::string& text) const {
    set(REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void ScopedRegistryValue::set(DWORD type, const std::string& bytes) const {
    win::RegKey opened;
    if (RegCreateKeyExA(root_, key_.c_str(), 0, nullptr, 0, KEY_WRITE | view_, nullptr,
                        opened.receive(), nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create " + key_);
    if (RegSetValueExA(opened.get(), name_.c_str(), 0, type,
                       reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size())) != ERROR_SUCCESS)
        throw std::runtime_error("cannot set " + name_);
}

bool ScopedRegistryValue::read(DWORD& type, std::string& bytes) const {
    win::RegKey opened;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ | view_, opened.receive()) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    if (RegQueryValueExA(opened.get(), name_.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.assign(size, '\0');
    if (RegQueryValueExA(opened.get(), name_.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&bytes[0]), &size) != ERROR_SUCCESS)
        return false;
    bytes.resize(size);
    return true;
}

bool ScopedRegistryValue::readNumber(DWORD& number) const {
    win::RegKey opened;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_READ | view_, opened.receive()) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    DWORD size = sizeof number;
    return RegQueryValueExA(opened.get(), name_.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(&number), &size) == ERROR_SUCCESS &&
           type == REG_DWORD && size == sizeof number;
}

}  // namespace testing_support
