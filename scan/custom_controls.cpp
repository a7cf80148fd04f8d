#include "custom_controls.h"

namespace sysrepair {

CustomControls* CustomControls::instance() {
    static CustomControls* const task = new CustomControls();
    return task;
}

bool CustomControls::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
