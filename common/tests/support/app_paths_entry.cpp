#include "common/tests/support/app_paths_entry.h"

#include "common/suite_records.h"

namespace testing_support {

ScopedAppPathsEntry::ScopedAppPathsEntry(const std::string& exeName, const std::string& folder)
    : path_(win::appPathsEntryKey(exeName), "Path") {
    path_.setString(folder);
}

}  // namespace testing_support
