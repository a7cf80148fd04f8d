// A value of the machine's own registry that a test changes, such as the App
// Paths entry of Mendora or the process id Mendora records: the value found at
// the start comes back at the end, and a key the test made goes again unless
// something else was written to it meanwhile.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class ScopedRegistryValue {
public:
    ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name);
    // Sets the value to the text (REG_SZ) at once.
    ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name,
                        const std::string& text);
    ~ScopedRegistryValue();
    ScopedRegistryValue(const ScopedRegistryValue&) = delete;
    ScopedRegistryValue& operator=(const ScopedRegistryValue&) = delete;

    const std::string& name() const { return name_; }
    void setString(const std::string& text) const;
    // Writes the bytes as they are, under the given type.
    void set(DWORD type, const std::string& bytes) const;
    // The value now; false when it is missing.
    bool read(DWORD& type, std::string& bytes) const;
    // The value as a 32-bit number; false when it is missing or of another type.
    bool readNumber(DWORD& number) const;

protected:
    // In the registry view `view` names (see RegistryReaderWriter::setView).
    ScopedRegistryValue(HKEY root, const std::string& key, const std::string& name, REGSAM view);

private:
    HKEY root_;
    REGSAM view_ = 0;
    std::string key_;
    std::string name_;
    bool keyExisted_ = false;
    bool valueExisted_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

}  // namespace testing_support
