#include "common/app_path.h"

#include "common/registry_reader_writer.h"
#include "common/suite_registry.h"

namespace win {

std::string appPathFolder(const std::string& exeName) {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + exeName);
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
