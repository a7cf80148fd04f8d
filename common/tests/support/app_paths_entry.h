// The App Paths entry that tells a program where it is installed, pointed at
// a test's own folder and put back as found when the test ends.
#pragma once

#include <string>

#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/test_files.h"

namespace testing_support {

// Below HKEY_LOCAL_MACHINE.
constexpr char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

class ScopedAppPathsEntry {
public:
    // Sets the "Path" value of the entry `exeName` to `folder`.
    ScopedAppPathsEntry(const std::string& exeName, const std::string& folder);

private:
    ScopedRegistryValue path_;
};

}  // namespace testing_support
