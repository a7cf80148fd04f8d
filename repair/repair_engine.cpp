#include "repair/repair_engine.h"

#include <windows.h>

namespace sysrepair {

RepairEngine::Binding RepairEngine::bind(const std::string& installFolder) {
    const std::string path = installFolder + "rptrnr.dll";
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Binding::FileMissing;
    unavailable = false;
    if (!module) {
        module.reset(LoadLibraryA(path.c_str()));
        if (!module) {
            unavailable = true;
        } else {
            // An engine that cannot check what it removes is not used.
            runReportEntry = reinterpret_cast<RunCheckedReportFunction>(  // through a generic type
                reinterpret_cast<void (*)()>(GetProcAddress(module.get(), "RunCheckedReport")));
            if (!runReportEntry) {
                module.reset();
                unavailable = true;
            }
        }
    }
    return unavailable ? Binding::Unusable : Binding::Bound;
}

int RepairEngine::runReport(const std::vector<TaskEntry*>& entries,
                            const std::vector<RepairExpectation>* expectations,
                            std::vector<int>* outcomes) const {
    if (outcomes) outcomes->assign(entries.size(), RepairSkipped);
    if (!runReportEntry || entries.empty()) return 0;
    if (expectations && expectations->size() != entries.size()) return 0;
    // The engine sees the entries through plain C records that point into
    // the entries' own texts; nothing is copied or handed over.
    std::vector<std::vector<const char*>> fieldPointers(entries.size());
    std::vector<RepairEntry> records(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        for (const std::string& field : entries[i]->fields)
            fieldPointers[i].push_back(field.c_str());
        records[i].type = entries[i]->type;
        records[i].fieldCount = static_cast<int>(fieldPointers[i].size());
        records[i].fields = fieldPointers[i].data();
    }
    const RepairList list = {static_cast<int>(records.size()), records.data()};
    return runReportEntry(&list, expectations ? expectations->data() : nullptr,
                          outcomes ? outcomes->data() : nullptr);
}

void RepairEngine::unbind() {
    runReportEntry = nullptr;
    module.reset();
}

}  // namespace sysrepair
