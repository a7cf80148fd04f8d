#include "common/suite_settings.h"

#include <windows.h>

#include "common/registry_reader_writer.h"
#include "common/suite_registry.h"

namespace win {

std::string readSuiteSetting(const char* name, const std::string& fallback) {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey(kSuiteKey);
    if (!reg.valueExists(name)) return fallback;
    bool ok = false;
    const std::string text = reg.readString(name, ok);
    return ok && !text.empty() ? text : fallback;
}

}  // namespace win
