#include "help_files.h"

namespace sysrepair {

HelpFiles* HelpFiles::instance() {
    static HelpFiles* const task = new HelpFiles();
    return task;
}

bool HelpFiles::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
