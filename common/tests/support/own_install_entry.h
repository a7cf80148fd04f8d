// Test programs run side by side, so each reads the install folder from an
// App Paths entry of its own instead of Mendora's.
#pragma once

#include <string>

#include "common/app_path.h"
#include "common/tests/support/app_paths_entry.h"

// Points Mendora's lookups of its install folder (Settings, the updater) at
// this test program's own entry and returns its name.
inline std::string useOwnInstallEntry() {
    win::setMendoraEntryName(testing_support::ownProgramName());
    return win::mendoraEntryName();
}
