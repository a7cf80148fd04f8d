#include "font_paths.h"

namespace sysrepair {

FontPaths* FontPaths::instance() {
    static FontPaths* const task = new FontPaths();
    return task;
}

bool FontPaths::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
