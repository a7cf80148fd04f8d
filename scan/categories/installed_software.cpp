#include "scan/categories/installed_software.h"

#include "common/registry_reader_writer.h"
#include "scan/categories/key_tree.h"
#include "scan/categories/path_text.h"
#include "scan/categories/scanned_keys.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"

namespace sysrepair {

namespace {

const char kAppPaths[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kAppPaths32[] = "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths";

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
    setRunning(true);
    clearEntries();
    DriveTable* table = completeDriveTable();
    for (const ScannedKey& entries : scannedKeys(HKEY_LOCAL_MACHINE, kAppPaths, kAppPaths32)) {
        if (stopRequested()) break;
        scanEntries(entries, table);
    }
    setRunning(false);
    return true;
}

void InstalledSoftware::scanEntries(const ScannedKey& entries, DriveTable* table) {
    win::RegistryReaderWriter lister;
    lister.setRoot(HKEY_LOCAL_MACHINE);
    lister.setKey(entries.path);
    win::RegistryReaderWriter reader;
    reader.setRoot(HKEY_LOCAL_MACHINE);

    bool more = false;
    lister.openSubkeys();
    std::string program = lister.nextSubkeyName(more);

    while (more && !stopRequested()) {
        const std::string key = entries.path + "\\" + program;
        reader.setKey(key);
        bool read = false;
        const std::string text = reader.readString("", read);
        program = lister.nextSubkeyName(more);
        std::string path;
        if (!read || !referencedPath(text, entries.of32BitView, path)) continue;
        if (!namesAProgram(path) || table->contains(fileNameOf(path)) ||
            referencedFileExists(path, entries.of32BitView))
            continue;

        auto keyEntry = std::make_unique<TaskEntry>();
        keyEntry->type = EntryRegKey;
        keyEntry->fields = {"HKEY_LOCAL_MACHINE", key};
        keyEntry->setReason(keepReason(missingFileReason("the program file", path)));
        setStatusText("HKEY_LOCAL_MACHINE\\" + key + "\\(default)");
        auto lock = lockEntries();
        if (TaskManager::instance()->acceptInto(lockedEntries(), std::move(keyEntry))) {
            const size_t treeStart = lockedEntries().size();
            recordKeyTree(lockedEntries(), HKEY_LOCAL_MACHINE, key);
            shareReason(lockedEntries(), treeStart, lockedEntries()[treeStart - 1]->reason());
        }
    }
}

}  // namespace sysrepair
