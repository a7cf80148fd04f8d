#include "common/suite_records.h"

namespace win {

std::string appPathsEntryKey(const std::string& exeName) {
    return std::string(kAppPathsKey) + "\\" + exeName;
}

SuiteRecordKey::SuiteRecordKey(const std::string& path) {
    setRoot(HKEY_LOCAL_MACHINE);
    setKey(path);
    setView(kSuiteRecordsView);
}

}  // namespace win
