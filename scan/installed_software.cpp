#include "installed_software.h"

namespace sysrepair {

InstalledSoftware* InstalledSoftware::instance() {
    static InstalledSoftware* const task = new InstalledSoftware();
    return task;
}

bool InstalledSoftware::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
