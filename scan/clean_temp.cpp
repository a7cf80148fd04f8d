#include "clean_temp.h"

namespace sysrepair {

CleanTemp* CleanTemp::instance() {
    static CleanTemp* const task = new CleanTemp();
    return task;
}

bool CleanTemp::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
