#include "scan/categories/installed_software.h"

#include "common/registry_reader_writer.h"
#include "scan/categories/key_tree.h"
#include "scan/categories/path_text.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"

namespace sysrepair {

namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// Only registrations of programs (".exe", any case) are checked.
bool namesAProgram(const std::string& path) {
    if (path.find('.') == std::string::npos || path.size() < 4) return false;
    return textEqualsIgnoringAsciiCase(path.substr(path.size() - 4), ".exe");
}

}  // namespace

InstalledSoftware* InstalledSoftware::instance() {
    static InstalledSoftware* const task = new InstalledSoftware();
    return task;
}

bool InstalledSoftware::scan() {
    win::RegistryReaderWriter lister;
    lister.setRoot(HKEY_LOCAL_MACHINE);
    lister.setKey(kAppPaths);
    win::RegistryReaderWriter reader;
    reader.setRoot(HKEY_LOCAL_MACHINE);

    setRunning(true);
    clearEntries();

    bool more = false;
    lister.openSubkeys();
    std::string program = lister.nextSubkeyName(more);
    DriveTable* table = completeDriveTable();

    while (more && !stopRequested()) {
        const std::string key = std::string(kAppPaths) + "\\" + program;
        reader.setKey(key);
        bool read = false;
        std::string path = reader.readString("", read);
        program = lister.nextSubkeyName(more);
        if (!read) continue;
        path = expandText(path);
        if (!namesAProgram(path) || table->contains(fileNameOf(path)) || fileExistsOnPath(path))
            continue;

        auto keyEntry = std::make_unique<TaskEntry>();
        keyEntry->type = EntryRegKey;
        keyEntry->fields = {"HKEY_LOCAL_MACHINE", key};
        setStatusText("HKEY_LOCAL_MACHINE\\" + key + "\\(default)");
        auto lock = lockEntries();
        if (TaskManager::instance()->acceptInto(lockedEntries(), std::move(keyEntry)))
            recordKeyTree(lockedEntries(), HKEY_LOCAL_MACHINE, key);
    }

    setRunning(false);
    return true;
}

}  // namespace sysrepair
