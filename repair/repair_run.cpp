#include "repair/repair_run.h"

#include <windows.h>

#include <algorithm>
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
};

const char kNothingBackedUp[] =
    "No problems were fixed: none of them could be backed up, and Mendora changes nothing it "
    "cannot undo.";
const char kNothingRemoved[] =
    "No problems were fixed: the repair engine could not remove any "
    "of them.";

}  // namespace

int64_t estimatedBackupSize(const std::vector<TaskEntry*>& entries) {
    int64_t size = 0;
    for (const TaskEntry* entry : entries) {
        if (entry->type == EntryFile && !entry->path().empty()) {
            win::FileHandle file(CreateFileA(entry->path().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
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
                       WorkingView& working) {
    Settings* settings = getSettings();
    const std::string slot = settings->nextBackupFolder();
    uint64_t freeBytes = 0;
    const bool spaceKnown = freeSpaceQuery()(settings->installFolder(), freeBytes);

    working.show();

    std::vector<Repaired> repaired;
    for (ITask* category : categories) {
        std::vector<TaskEntry*> entries;
        category->getEntries(entries);
        if (category->problemCount() > 0) repaired.push_back({category, entries});
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
        r.entries = std::move(safe);
    }

    int64_t needed = 0;
    for (const Repaired& r : repaired)
        if (!r.entries.empty()) needed += estimatedBackupSize(r.entries) + kSafetyMargin;

    RepairResult result;
    if (!spaceKnown || needed < 0 || static_cast<uint64_t>(needed) > freeBytes) {
        result.refusedForSpace = true;
        working.hide();
        win::showMessageBox(nullptr,
                            "You don't have enough free disk space to perform the operation",
                            "Out of disk space", MB_OK);
    } else {
        // What the engine says it removed is what the user is told. A
        // category may count several entries as one problem (Internet
        // Cleaner), so no category counts more than its problem count.
        std::vector<uint32_t> removed(repaired.size(), 0);
        for (size_t i = 0; i < repaired.size(); ++i)
            if (!repaired[i].entries.empty())
                removed[i] =
                    static_cast<uint32_t>(std::max(0, engine.runReport(repaired[i].entries)));
        for (size_t i = 0; i < repaired.size(); ++i) {
            const uint32_t count = std::min(removed[i], repaired[i].category->problemCount());
            if (count == 0) continue;
            if (!result.summary.empty()) result.summary += ", ";
            result.summary += std::to_string(count) + " " + repaired[i].category->description();
            result.problemsFixed += count;
        }
        result.nothingBackedUp = !repaired.empty();
        for (const Repaired& r : repaired)
            if (!r.entries.empty()) result.nothingBackedUp = false;
        working.hide();
    }

    settings->addBackup(std::time(nullptr), result.summary);
    if (result.problemsFixed != 0)
        win::showMessageBox(win::mainWindowHandle(),
                            "Congratulations!\n\nThere were " +
                                std::to_string(result.problemsFixed) +
                                " problems fixed on your system!",
                            "Mendora", MB_OK);
    else if (!result.refusedForSpace && !repaired.empty())
        win::showMessageBox(win::mainWindowHandle(),
                            result.nothingBackedUp ? kNothingBackedUp : kNothingRemoved, "Mendora",
                            MB_OK | MB_ICONWARNING);
    if (HWND main = win::mainWindowHandle()) SetForegroundWindow(main);
    return result;
}

bool makeRepairs(const std::vector<ITask*>& categories, RepairEngine& engine,
                 WorkingView& working) {
    switch (engine.bind(getSettings()->installFolder())) {
        case RepairEngine::Binding::FileMissing:
            win::showMessageBox(win::mainWindowHandle(), "Invalid version installed.",
                                "Mendora Error", MB_OK | MB_ICONQUESTION);
            return false;
        case RepairEngine::Binding::Unusable:
            win::showMessageBox(win::mainWindowHandle(), "Invalid version installed!",
                                "Mendora Error", MB_OK | MB_ICONQUESTION);
            return false;
        case RepairEngine::Binding::Bound:
            break;
    }
    runRepair(categories, engine, working);
    engine.unbind();
    return true;
}

}  // namespace sysrepair
