#include "common/tests/support/suite_value.h"

#include "common/suite_records.h"

namespace testing_support {

ScopedSuiteValue::ScopedSuiteValue(const std::string& key, const std::string& name)
    : ScopedRegistryValue(HKEY_LOCAL_MACHINE, key, name, win::kSuiteRecordsView) {}

ScopedSuiteValue::ScopedSuiteValue(const std::string& key, const std::string& name,
                                   const std::string& text)
    : ScopedSuiteValue(key, name) {
    setString(text);
}

}  // namespace testing_support
