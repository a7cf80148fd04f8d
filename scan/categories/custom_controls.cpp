#include "scan/categories/custom_controls.h"

#include "common/registry_reader_writer.h"
#include "scan/categories/key_tree.h"
#include "scan/categories/path_text.h"
#include "scan/categories/scanned_keys.h"
#include "scan/task_manager.h"
#include "scan/walk/drive_table.h"

namespace sysrepair {

CustomControls* CustomControls::instance() {
    static CustomControls* const task = new CustomControls();
    return task;
}

bool CustomControls::scan() {
    setRunning(true);
    clearEntries();
    DriveTable* table = completeDriveTable();
    for (const ScannedKey& classes :
         scannedKeys(HKEY_CLASSES_ROOT, "CLSID", "Wow6432Node\\CLSID")) {
        if (stopRequested()) break;
        scanClasses(classes, table);
    }
    setRunning(false);
    return true;
}

void CustomControls::scanClasses(const ScannedKey& classes, DriveTable* table) {
    win::RegistryReaderWriter lister;
    lister.setRoot(HKEY_CLASSES_ROOT);
    lister.setKey(classes.path);
    win::RegistryReaderWriter reader;
    reader.setRoot(HKEY_CLASSES_ROOT);

    bool more = false;
    lister.openSubkeys();
    std::string classId = lister.nextSubkeyName(more);

    while (more && !stopRequested()) {
        const std::string classKey = classes.path + "\\" + classId;
        const std::string serverKey = classKey + "\\InProcServer32";
        reader.setKey(serverKey);
        bool read = false;
        const std::string text = reader.readString("", read);
        classId = lister.nextSubkeyName(more);
        setStatusText("HKEY_CLASSES_ROOT\\" + serverKey + "\\(default)");
        std::string path;
        if (!read || !referencedPath(text, classes.of32BitView, path)) continue;
        if (table->contains(fileNameOf(path)) || referencedFileExists(path, classes.of32BitView))
            continue;

        auto keyEntry = std::make_unique<TaskEntry>();
        keyEntry->type = EntryRegKey;
        keyEntry->fields = {"HKEY_CLASSES_ROOT", classKey};
        keyEntry->setReason(keepReason(missingFileReason("the server file", path)));
        auto lock = lockEntries();
        if (TaskManager::instance()->acceptEntry(*keyEntry)) {
            setMarker(false);
            // The key comes after its tree; until it is in the list, a
            // failure must take it out of the check again.
            try {
                const size_t treeStart = lockedEntries().size();
                recordKeyTree(lockedEntries(), HKEY_CLASSES_ROOT, classKey);
                shareReason(lockedEntries(), treeStart, keyEntry->reason());
                lockedEntries().push_back(std::move(keyEntry));
            } catch (...) {
                if (keyEntry) TaskManager::instance()->forgetEntry(*keyEntry);
                throw;
            }
        } else {
            setMarker(true);
        }
    }
}

}  // namespace sysrepair
