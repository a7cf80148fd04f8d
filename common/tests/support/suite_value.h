// A value of the suite's records (common/suite_records.h), such as a server
// address or the process id Mendora records, changed by a test and put back
// as found: in the view where every build of the suite reads it.
#pragma once

#include <string>

#include "common/tests/support/scoped_registry_value.h"

namespace testing_support {

class ScopedSuiteValue : public ScopedRegistryValue {
public:
    // A value of `key` below HKEY_LOCAL_MACHINE.
    ScopedSuiteValue(const std::string& key, const std::string& name);
    // Sets the value to the text (REG_SZ) at once.
    ScopedSuiteValue(const std::string& key, const std::string& name, const std::string& text);
};

}  // namespace testing_support
