// A key of the suite's records (common/suite_records.h) that a test needs to
// itself, such as the updater's lists of builds: its values are put aside and
// the key emptied at the start, and the key is given back as it was found at
// the end.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

namespace testing_support {

class ScopedKeyValues {
public:
    // A key below HKEY_LOCAL_MACHINE, in the view of the suite's records.
    explicit ScopedKeyValues(const std::string& key);
    ~ScopedKeyValues();
    ScopedKeyValues(const ScopedKeyValues&) = delete;
    ScopedKeyValues& operator=(const ScopedKeyValues&) = delete;

    // Writes a text value (REG_SZ).
    void setString(const std::string& name, const std::string& text) const;
    void setNumber(const std::string& name, DWORD number) const;
    // The key's values now: name to (type, bytes). Text values come without
    // their terminating zero.
    std::map<std::string, std::pair<DWORD, std::string>> values() const;
    // The text of a value; "(missing)" when there is none.
    std::string text(const std::string& name) const;
    // The number of a value; false when it is missing or not a number.
    bool number(const std::string& name, DWORD& value) const;

private:
    std::string key_;
    bool existed_ = false;
    std::map<std::string, std::pair<DWORD, std::string>> saved_;
};

}  // namespace testing_support
