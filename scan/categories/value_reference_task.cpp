#include "scan/categories/value_reference_task.h"

#include "common/registry_reader_writer.h"
#include "scan/categories/path_text.h"

namespace sysrepair {

void ValueReferenceTask::checkValues(const std::string& keyPath, const IsMissing& isMissing) {
    win::RegistryReaderWriter lister;
    lister.setRoot(HKEY_LOCAL_MACHINE);
    lister.setKey(keyPath);
    win::RegistryReaderWriter reader;
    reader.setRoot(HKEY_LOCAL_MACHINE);
    reader.setKey(keyPath);

    lister.openValues();
    bool more = false;
    for (std::string name = lister.nextValueName(more); more && !stopRequested();
         name = lister.nextValueName(more)) {
        bool read = false;
        std::string text = reader.readString(name, read);
        if (!read) continue;
        text = expandText(text);
        if (!isMissing(name, text)) continue;

        auto entry = std::make_unique<TaskEntry>();
        entry->type = EntryRegText;
        entry->fields = {"HKEY_LOCAL_MACHINE", keyPath, name, "STRING", text};
        setStatusText("HKEY_LOCAL_MACHINE\\" + keyPath + "\\" + name);
        addEntry(std::move(entry));
    }
}

}  // namespace sysrepair
