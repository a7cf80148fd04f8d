// A registry key of a test's own, removed with everything below it when the
// test ends.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

class ScopedTestKey {
public:
    // Makes root\parent\<unique name>; parent defaults to a folder of the
    // test suite under HKEY_CURRENT_USER\Software.
    explicit ScopedTestKey(HKEY root = HKEY_CURRENT_USER,
                           const std::string& parent = "Software\\MendoraTests");
    ~ScopedTestKey();
    ScopedTestKey(const ScopedTestKey&) = delete;
    ScopedTestKey& operator=(const ScopedTestKey&) = delete;

    HKEY root() const { return root_; }
    // Path below the root, without leading or trailing backslash.
    const std::string& path() const { return path_; }

    void setValue(const std::string& name, DWORD type, const void* data, DWORD size) const;
    void setString(const std::string& name, const std::string& text) const;

private:
    HKEY root_;
    std::string path_;
};

// Deletes root\path with all its subkeys; true when it is gone. `view` as
// for RegistryReaderWriter::setView (0: the process's own).
bool deleteKeyTree(HKEY root, const std::string& path, REGSAM view = 0);
bool keyExists(HKEY root, const std::string& path, REGSAM view = 0);

// A name no other test and no earlier run uses.
std::string uniqueName(const std::string& stem);

}  // namespace testing_support
