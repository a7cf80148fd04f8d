#include "scan/categories/value_reference_task.h"

#include <cstring>

#include "common/exact_registry.h"
#include "common/registry_reader_writer.h"
#include "scan/categories/path_text.h"

namespace sysrepair {

void ValueReferenceTask::checkValues(const std::string& keyPath,
                                     const MissingReason& missingReason) {
    // Names and texts that the ANSI code page cannot hold are not listed: a
    // file named so could not be looked for, and the value could not be put
    // back as it was.
    std::vector<std::string> names;
    size_t refused = 0;
    win::listExactNames(HKEY_LOCAL_MACHINE, keyPath, win::KeyNames::Values, names, refused);
    for (size_t i = 0; i < names.size() && !stopRequested(); ++i) {
        const std::string& name = names[i];
        DWORD type = 0;
        std::vector<unsigned char> bytes;
        if (win::readExactValue(HKEY_LOCAL_MACHINE, keyPath, name, type, bytes) !=
                win::ValueRead::Read ||
            bytes.size() > win::RegistryReaderWriter::textBufferSize)
            continue;
        const char* chars = reinterpret_cast<const char*>(bytes.data());
        std::string text = expandText(std::string(chars, strnlen(chars, bytes.size())));
        std::string reason = missingReason(name, text);
        if (reason.empty()) continue;

        auto entry = std::make_unique<TaskEntry>();
        entry->type = EntryRegText;
        entry->fields = {"HKEY_LOCAL_MACHINE", keyPath, name, "STRING", text};
        // The value as found, so that a repair removes it only while it is
        // still this value.
        entry->regType = static_cast<int32_t>(type);
        entry->data = std::move(bytes);
        entry->setReason(keepReason(std::move(reason)));
        setStatusText("HKEY_LOCAL_MACHINE\\" + keyPath + "\\" + name);
        addEntry(std::move(entry));
    }
}

}  // namespace sysrepair
