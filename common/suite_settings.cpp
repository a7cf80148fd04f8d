#include "common/suite_settings.h"

#include <windows.h>

#include "common/suite_records.h"
#include "common/suite_registry.h"

namespace win {

std::string readSuiteSetting(const char* name, const std::string& fallback) {
    SuiteRecordKey reg(kSuiteKey);
    if (!reg.valueExists(name)) return fallback;
    bool ok = false;
    const std::string text = reg.readString(name, ok);
    return ok && !text.empty() ? text : fallback;
}

}  // namespace win
