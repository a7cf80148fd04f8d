// Base of the categories whose registry key holds one value per file: a
// value whose file is missing is a problem.
#pragma once

#include <functional>
#include <string>

#include "scan/task.h"

namespace sysrepair {

class ValueReferenceTask : public BasicTask {
protected:
    // Why the file that a value names is missing, given the value's name and
    // its data text with quotes dropped and variables expanded; empty when
    // the file is there.
    using MissingReason =
        std::function<std::string(const std::string& name, const std::string& text)>;

    // Walks the values of HKEY_LOCAL_MACHINE\keyPath until a stop is
    // requested; each value whose file is missing becomes an EntryRegText
    // entry holding the expanded text and the reason. Values that cannot be
    // read are skipped.
    void checkValues(const std::string& keyPath, const MissingReason& missingReason);
};

}  // namespace sysrepair
