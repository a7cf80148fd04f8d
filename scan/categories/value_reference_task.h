// Base of the categories whose registry key holds one value per file: a
// value whose file is missing is a problem.
#pragma once

#include <functional>
#include <string>

#include "scan/task.h"

namespace sysrepair {

class ValueReferenceTask : public BasicTask {
protected:
    // Whether the file that a value names is missing, given the value's name
    // and its data text with quotes dropped and variables expanded.
    using IsMissing = std::function<bool(const std::string& name, const std::string& text)>;

    // Walks the values of HKEY_LOCAL_MACHINE\keyPath until a stop is
    // requested; each value whose file is missing becomes an EntryRegText
    // entry holding the expanded text. Values that cannot be read are skipped.
    void checkValues(const std::string& keyPath, const IsMissing& isMissing);
};

}  // namespace sysrepair
