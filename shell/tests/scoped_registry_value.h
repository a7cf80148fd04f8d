// A value of the machine's own registry that a test changes, such as the App
// Paths entry of Mendora or the process id Mendora records: the value found at
// the start comes back at the end, and a key the test made goes again.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    void setString(const std::string& text) const;
    // The value as a 32-bit number; false when it is missing or of another type.
    bool readNumber(DWORD& number) const;

private:
    HKEY root_;
    std::string key_;
    std::string name_;
    bool keyExisted_ = false;
    bool valueExisted_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

}  // namespace testing_support
