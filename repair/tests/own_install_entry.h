// Test programs run side by side, so each reads the install folder from an
// App Paths entry of its own instead of Mendora's.
#pragma once

#include <string>

#include "common/tests/support/app_paths_entry.h"
#include "repair/settings.h"

// Points Settings at this test program's own entry and returns its name.
inline std::string useOwnInstallEntry() {
    sysrepair::setInstallEntryName(testing_support::ownProgramName());
    return sysrepair::installEntryName();
}
