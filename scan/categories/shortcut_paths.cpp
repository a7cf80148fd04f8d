#include "scan/categories/shortcut_paths.h"

#include "scan/categories/file_checks.h"
#include "scan/walk/drive_table.h"

namespace sysrepair {

namespace {

// Whether the text from the last dot on is ".lnk" in any case; a dot inside
// a folder name does not count, and folders (ending in a backslash) never do.
bool isShortcutName(const std::string& path) {
    const std::string::size_type dot = path.rfind('.');
    return dot != std::string::npos && textEqualsIgnoringAsciiCase(path.substr(dot), ".lnk");
}

}  // namespace

ShortcutPaths* ShortcutPaths::instance() {
    static ShortcutPaths* const task = new ShortcutPaths();
    return task;
}

bool ShortcutPaths::scan() {
    setRunning(true);
    clearEntries();
    DriveTable* table = completeDriveTable();
    for (size_t i = 0; i < table->fileCount() && !stopRequested(); ++i) {
        const std::string path = table->fileAt(i);
        setStatusText(path);
        std::string target;
        if (!isShortcutName(path) || !shortcutIsBroken(path, &target)) continue;
        auto entry = std::make_unique<TaskEntry>();
        entry->setReason(keepReason(target.empty()
                                        ? "the shortcut's target cannot be found"
                                        : "the shortcut's target " + target + " does not exist"));
        // A shortcut whose size or time cannot be read is not shown: a repair
        // could not tell it from one written since.
        if (!stampFile(path, *entry)) continue;
        entry->fields = {path};
        addEntry(std::move(entry));
    }
    setRunning(false);
    return true;
}

}  // namespace sysrepair
