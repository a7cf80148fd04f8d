#include "scan/categories/key_tree.h"

#include <memory>
#include <vector>

#include "common/registry_reader_writer.h"
#include "common/registry_roots.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

void appendIfNew(BasicTask::EntryList& list, std::unique_ptr<TaskEntry> entry) {
    if (TaskManager::instance()->acceptEntry(*entry)) list.push_back(std::move(entry));
}

std::unique_ptr<TaskEntry> readValueEntry(win::RegistryReaderWriter& reg, HKEY root,
                                          const std::string& keyPath, const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (reg.readRaw(nullptr, type, size, name) != ERROR_SUCCESS) return nullptr;
    std::vector<unsigned char> bytes(size);
    if (reg.readRaw(size ? bytes.data() : nullptr, type, size, name) != ERROR_SUCCESS)
        return nullptr;
    auto entry = std::make_unique<TaskEntry>();
    entry->fields = {win::nameFromRoot(root), keyPath, name};
    entry->setRawValue(static_cast<int32_t>(type), bytes.data(), static_cast<int32_t>(size));
    return entry;
}

}  // namespace

void recordKeyTree(BasicTask::EntryList& list, HKEY root, const std::string& keyPath) {
    win::RegistryReaderWriter reg;
    reg.setRoot(root);
    reg.setKey(keyPath);

    bool ok = false;
    if (reg.openValues()) {
        for (std::string name = reg.nextValueName(ok); ok; name = reg.nextValueName(ok)) {
            if (auto entry = readValueEntry(reg, root, keyPath, name))
                appendIfNew(list, std::move(entry));
        }
    }

    if (reg.openSubkeys()) {
        for (std::string name = reg.nextSubkeyName(ok); ok; name = reg.nextSubkeyName(ok)) {
            const std::string subkey = keyPath + "\\" + name;
            recordKeyTree(list, root, subkey);
            auto entry = std::make_unique<TaskEntry>();
            entry->type = EntryRegKey;
            entry->fields = {win::nameFromRoot(root), subkey};
            appendIfNew(list, std::move(entry));
        }
    }
}

}  // namespace sysrepair
