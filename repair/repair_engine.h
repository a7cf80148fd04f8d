// Mendora's binding to the repair engine library: loaded from the install
// folder for one repair and unloaded afterwards.
#pragma once

#include <string>
#include <vector>

#include "common/win_handles.h"
#include "repair/engine/rptrnr.h"
#include "scan/task_entry.h"

namespace sysrepair {

class RepairEngine {
public:
    enum class Binding {
        Bound,
        FileMissing,  // no engine file in the install folder
        Unusable,     // the file does not load or has no "RunCheckedReport"
    };

    // Loads install folder + "rptrnr.dll" unless it is bound already.
    Binding bind(const std::string& installFolder);
    bool isBound() const { return static_cast<bool>(module); }
    // True when the last bind failed for a reason other than a missing file.
    bool engineUnavailable() const { return unavailable; }

    // Hands one category's entries to the engine, with what each object must
    // still be (one expectation per entry, or none); the number it removed.
    // `outcomes`, when given, receives each entry's outcome (RepairRemoved,
    // ... of rptrnr.h).
    int runReport(const std::vector<TaskEntry*>& entries,
                  const std::vector<RepairExpectation>* expectations = nullptr,
                  std::vector<int>* outcomes = nullptr) const;

    void unbind();

private:
    win::Module module;
    RunCheckedReportFunction runReportEntry = nullptr;
    bool unavailable = false;
};

}  // namespace sysrepair
