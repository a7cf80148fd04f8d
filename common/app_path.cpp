#include "common/app_path.h"

#include "common/suite_records.h"
#include "common/suite_registry.h"

namespace win {

std::string appPathFolder(const std::string& exeName) {
    SuiteRecordKey reg(appPathsEntryKey(exeName));
    if (reg.valueExists("Path")) {
        bool ok = false;
        std::string folder = reg.readString("Path", ok);
        if (ok && !folder.empty()) return folder;
    }
    return ".\\";
}

namespace {

std::string& entryName() {
    static std::string name = kMendoraEntry;
    return name;
}

}  // namespace

std::string mendoraEntryName() {
    return entryName();
}

void setMendoraEntryName(const std::string& exeName) {
    entryName() = exeName;
}

}  // namespace win
