#include "shortcut_paths.h"

namespace sysrepair {

ShortcutPaths* ShortcutPaths::instance() {
    static ShortcutPaths* const task = new ShortcutPaths();
    return task;
}

bool ShortcutPaths::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
