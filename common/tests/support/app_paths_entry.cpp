#include "common/tests/support/app_paths_entry.h"

#include <windows.h>

namespace testing_support {

ScopedAppPathsEntry::ScopedAppPathsEntry(const std::string& exeName, const std::string& folder)
    : path_(HKEY_LOCAL_MACHINE, std::string(kAppPathsKey) + "\\" + exeName, "Path") {
    path_.setString(folder);
}

}  // namespace testing_support
