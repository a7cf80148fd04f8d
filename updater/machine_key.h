// The registry class on one key below HKEY_LOCAL_MACHINE, where the updater
// keeps its lists of builds.
#pragma once

#include <windows.h>

#include "common/registry_reader_writer.h"

namespace updater {

class MachineKey : public win::RegistryReaderWriter {
public:
    explicit MachineKey(const char* path) {
        setRoot(HKEY_LOCAL_MACHINE);
        setKey(path);
    }
};

}  // namespace updater
