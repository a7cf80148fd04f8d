// The App Paths entry that tells a program of the suite where it is
// installed, pointed at a test's own folder and put back as found when the
// test ends. In the view of the suite's records, where the programs read it.
#pragma once

#include <string>

#include "common/suite_records.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"

namespace testing_support {

using win::kAppPathsKey;

class ScopedAppPathsEntry {
public:
    // Sets the "Path" value of the entry `exeName` to `folder`.
    ScopedAppPathsEntry(const std::string& exeName, const std::string& folder);

private:
    ScopedSuiteValue path_;
};

}  // namespace testing_support
