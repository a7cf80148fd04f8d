#include "common/processor_info.h"

#include <windows.h>

#include "common/registry_reader_writer.h"

namespace win {

int64_t processorMhz() {
    RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\");
    DWORD type = 0;
    DWORD mhz = 0;
    DWORD size = sizeof mhz;
    if (reg.readRaw(&mhz, type, size, "~MHz") != ERROR_SUCCESS || type != REG_DWORD ||
        size != sizeof mhz)
        return -1;
    return mhz;
}

}  // namespace win
