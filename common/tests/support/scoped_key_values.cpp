#include "common/tests/support/scoped_key_values.h"

#include <stdexcept>
#include <vector>

#include "common/suite_records.h"
#include "common/win_handles.h"

namespace testing_support {

namespace {

using Values = std::map<std::string, std::pair<DWORD, std::string>>;

const HKEY kRoot = HKEY_LOCAL_MACHINE;
const REGSAM kView = win::kSuiteRecordsView;

Values readValues(const std::string& key, bool& exists) {
    Values values;
    win::RegKey opened;
    exists =
        RegOpenKeyExA(kRoot, key.c_str(), 0, KEY_READ | kView, opened.receive()) == ERROR_SUCCESS;
    if (!exists) return values;
    std::vector<char> name(16384);
    std::vector<BYTE> data(1 << 16);
    for (DWORD i = 0;; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (RegEnumValueA(opened.get(), i, name.data(), &nameLength, nullptr, &type, data.data(),
                          &size) != ERROR_SUCCESS)
            break;
        values[std::string(name.data(), nameLength)] = {
            type, std::string(reinterpret_cast<char*>(data.data()), size)};
    }
    return values;
}

void clearValues(const std::string& key) {
    bool exists = false;
    const Values present = readValues(key, exists);
    win::RegKey opened;
    if (!exists || RegOpenKeyExA(kRoot, key.c_str(), 0, KEY_SET_VALUE | kView, opened.receive()) !=
                       ERROR_SUCCESS)
        return;
    for (const auto& value : present) RegDeleteValueA(opened.get(), value.first.c_str());
}

}  // namespace

ScopedKeyValues::ScopedKeyValues(const std::string& key) : key_(key) {
    saved_ = readValues(key, existed_);
    clearValues(key);
}

ScopedKeyValues::~ScopedKeyValues() {
    clearValues(key_);
    if (!existed_) {
        RegDeleteKeyExA(kRoot, key_.c_str(), kView, 0);
        return;
    }
    win::RegKey opened;
    if (RegCreateKeyExA(kRoot, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr,
                        opened.receive(), nullptr) != ERROR_SUCCESS)
        return;
    for (const auto& value : saved_)
        RegSetValueExA(opened.get(), value.first.c_str(), 0, value.second.first,
                       reinterpret_cast<const BYTE*>(value.second.second.data()),
                       static_cast<DWORD>(value.second.second.size()));
}

void ScopedKeyValues::setString(const std::string& name, const std::string& text) const {
    win::RegKey opened;
    if (RegCreateKeyExA(kRoot, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr,
                        opened.receive(), nullptr) != ERROR_SUCCESS ||
        RegSetValueExA(opened.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
        throw std::runtime_error("cannot set " + key_ + name);
}

void ScopedKeyValues::setNumber(const std::string& name, DWORD number) const {
    win::RegKey opened;
    if (RegCreateKeyExA(kRoot, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr,
                        opened.receive(), nullptr) != ERROR_SUCCESS ||
        RegSetValueExA(opened.get(), name.c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&number), sizeof number) != ERROR_SUCCESS)
        throw std::runtime_error("cannot set " + key_ + name);
}

std::map<std::string, std::pair<DWORD, std::string>> ScopedKeyValues::values() const {
    bool exists = false;
    Values values = readValues(key_, exists);
    for (auto& value : values) {
        std::string& bytes = value.second.second;
        if (value.second.first == REG_SZ && !bytes.empty() && bytes.back() == '\0')
            bytes.pop_back();
    }
    return values;
}

std::string ScopedKeyValues::text(const std::string& name) const {
    const Values now = values();
    const auto found = now.find(name);
    return found == now.end() || found->second.first != REG_SZ ? "(missing)" : found->second.second;
}

bool ScopedKeyValues::number(const std::string& name, DWORD& value) const {
    const Values now = values();
    const auto found = now.find(name);
    if (found == now.end() || found->second.first != REG_DWORD ||
        found->second.second.size() != sizeof value)
        return false;
    value = *reinterpret_cast<const DWORD*>(found->second.second.data());
    return true;
}

}  // namespace testing_support
