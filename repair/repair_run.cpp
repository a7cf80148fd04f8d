#include "repair/repair_run.h"

#include <windows.h>

#include <ctime>
#include <memory>

#include "common/message_box.h"
#include "common/win_handles.h"
#include "repair/backup_reports.h"
#include "repair/settings.h"

namespace sysrepair {

namespace {

// Room kept free on top of the backups of each repaired category.
const int64_t kSafetyMargin = 102400000;

bool systemFreeSpace(const std::string& folder, uint64_t& bytes) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr)) return false;
    bytes = available.QuadPart;
    return true;
}

FreeSpaceQuery& freeSpaceQuery() {
    static FreeSpaceQuery query = systemFreeSpace;
    return query;
}

// One category taking part in the repair.
struct Repaired {
    ITask* category;
    std::vector<TaskEntry*> entries;  // what the engine removes
    bool complete;                    // every found entry is among them
};

}  // namespace

int64_t estimatedBackupSize(const std::vector<TaskEntry*>& entries) {
    int64_t size = 0;
    for (const TaskEntry* entry : entries) {
        if (entry->type == EntryFile && !entry->fields.empty()) {
            win::FileHandle file(CreateFileA(entry->fields[0].c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file) {
                const DWORD low = GetFileSize(file.get(), nullptr);
                if (low != INVALID_FILE_SIZE) size += low;
            }
        }
        size += 100;
    }
    return size;
}

void setFreeSpaceQuery(FreeSpaceQuery query) {
    freeSpaceQuery() = query ? std::move(query) : FreeSpaceQuery(systemFreeSpace);
}

RepairResult runRepair(const std::vector<ITask*>& categories, const RepairEngine& engine,
                       WorkingIndicator& working) {
    Settings* settings = getSettings();
    const std::string slot = settings->nextBackupFolder();
    uint64_t freeBytes = 0;
    const bool spaceKnown = freeSpaceQuery()(settings->installFolder(), freeBytes);

    working.show();

    std::vector<Repaired> repaired;
    for (ITask* category : categories) {
        std::vector<TaskEntry*> entries;
        category->getEntries(entries);
        if (category->problemCount() > 0) repaired.push_back({category, entries, true});
    }

    clearSlot(slot);
    // No backup, no change: what could not be backed up is not handed to the
    // engine.
    for (Repaired& r : repaired) {
        if (r.category->name() == "Internet Cleaner") continue;
        std::vector<bool> backedUp;
        if (!writeReport(r.entries, r.category->name(), slot, &backedUp))
            backedUp.assign(r.entries.size(), false);
        std::vector<TaskEntry*> safe;
        for (size_t i = 0; i < r.entries.size(); ++i)
            if (i < backedUp.size() && backedUp[i]) safe.push_back(r.entries[i]);
        r.complete = safe.size() == r.entries.size();
        r.entries = std::move(safe);
    }

    int64_t needed = 0;
    for (const Repaired& r : repaired)
        if (!r.entries.empty()) needed += estimatedBackupSize(r.entries) + kSafetyMargin;

    RepairResult result;
    if (!spaceKnown || needed < 0 || static_cast<uint64_t>(needed) > freeBytes) {
        result.refusedForSpace = true;
        working.hide();
        showMessageBox(nullptr, "You don't have enough free disk space to perform the operation",
                       "Out of disk space", MB_OK);
    } else {
        for (const Repaired& r : repaired)
            if (!r.entries.empty()) engine.runReport(r.entries);
        for (const Repaired& r : repaired) {
            if (r.entries.empty()) continue;
            const uint32_t count =
                r.complete ? r.category->problemCount() : static_cast<uint32_t>(r.entries.size());
            if (!result.summary.empty()) result.summary += ", ";
            result.summary += std::to_string(count) + " " + r.category->description();
            result.problemsFixed += count;
        }
        working.hide();
    }

    settings->addBackup(std::time(nullptr), result.summary);
    if (result.problemsFixed != 0)
        showMessageBox(mainWindowHandle(),
                       "Congratulations!\n\nThere were " + std::to_string(result.problemsFixed) +
                           " problems fixed on your system!",
                       "Mendora", MB_OK);
    if (HWND main = mainWindowHandle()) SetForegroundWindow(main);
    return result;
}

bool makeRepairs(const std::vector<ITask*>& categories, RepairEngine& engine,
                 WorkingIndicator& working) {
    switch (engine.bind(getSettings()->installFolder())) {
        case RepairEngine::Binding::FileMissing:
            showMessageBox(mainWindowHandle(), "Invalid version installed.", "Mendora Error",
                           MB_OK | MB_ICONQUESTION);
            return false;
        case RepairEngine::Binding::Unusable:
            showMessageBox(mainWindowHandle(), "Invalid version installed!", "Mendora Error",
                           MB_OK | MB_ICONQUESTION);
            return false;
        case RepairEngine::Binding::Bound:
            break;
    }
    runRepair(categories, engine, working);
    engine.unbind();
    return true;
}

}  // namespace sysrepair
