#include "scan/categories/key_tree.h"

#include <memory>
#include <vector>

#include "common/exact_registry.h"
#include "common/registry_roots.h"
#include "scan/task_manager.h"

namespace sysrepair {

void recordKeyTree(BasicTask::EntryList& list, HKEY root, const std::string& keyPath) {
    const std::string rootName = win::nameFromRoot(root);
    TaskManager* tasks = TaskManager::instance();

    // Names and texts are read through the wide functions: one that the
    // ANSI code page cannot hold is not listed, so it stays, and with it the
    // key that holds it (the repair removes a key only when it is empty).
    std::vector<std::string> names;
    size_t refused = 0;
    if (win::listExactNames(root, keyPath, win::KeyNames::Values, names, refused)) {
        for (const std::string& name : names) {
            DWORD type = 0;
            std::vector<unsigned char> bytes;
            if (win::readExactValue(root, keyPath, name, type, bytes) != win::ValueRead::Read)
                continue;
            auto entry = std::make_unique<TaskEntry>();
            entry->fields = {rootName, keyPath, name};
            entry->setRawValue(static_cast<int32_t>(type), bytes.data(),
                               static_cast<int32_t>(bytes.size()));
            tasks->acceptInto(list, std::move(entry));
        }
    }

    if (win::listExactNames(root, keyPath, win::KeyNames::Subkeys, names, refused)) {
        for (const std::string& name : names) {
            const std::string subkey = keyPath + "\\" + name;
            recordKeyTree(list, root, subkey);
            auto entry = std::make_unique<TaskEntry>();
            entry->type = EntryRegKey;
            entry->fields = {rootName, subkey};
            tasks->acceptInto(list, std::move(entry));
        }
    }
}

void shareReason(BasicTask::EntryList& list, size_t first, const std::string* reason) {
    for (size_t i = first; i < list.size(); ++i) list[i]->setReason(reason);
}

std::string missingFileReason(const std::string& what, const std::string& path) {
    if (path.find('\\') == std::string::npos)
        return what + " " + path + " is not in any folder of the search path";
    return what + " " + path + " does not exist";
}

}  // namespace sysrepair
