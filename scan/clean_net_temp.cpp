#include "clean_net_temp.h"

namespace sysrepair {

CleanNetTemp* CleanNetTemp::instance() {
    static CleanNetTemp* const task = new CleanNetTemp();
    return task;
}

bool CleanNetTemp::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
