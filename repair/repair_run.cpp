#include "repair/repair_run.h"

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <memory>

#include "common/message_box.h"
#include "common/win_handles.h"
#include "common/work_progress.h"
#include "repair/backup_copies.h"
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

const char kInternetCleaner[] = "Internet Cleaner";

// One category taking part in the repair.
struct Repaired {
    ITask* category = nullptr;
    std::vector<TaskEntry*> entries;  // what it found
    std::vector<size_t> given;        // the entries handed to the engine
    bool backedUp = false;            // its entries are backed up
    WrittenBackup backup;
    std::vector<RepairExpectation> expected;  // per entry given
    std::vector<bool> removed;                // per entry: the engine removed its object
    uint32_t removedCount = 0;
};

const char kNothingBackedUp[] =
    "No problems were fixed: none of them could be backed up, and Mendora changes nothing it "
    "cannot undo.";
const char kNothingRemoved[] =
    "No problems were fixed: the repair engine could not remove any "
    "of them.";

// What the repair left as it was, and why: empty when it left nothing.
std::string leftAloneText(const RepairResult& result) {
    std::string text;
    const auto part = [&](uint32_t count, const char* one, const char* many) {
        if (count != 0) text += "\n- " + std::to_string(count) + " " + (count == 1 ? one : many);
    };
    part(result.notBackedUp + result.changedSinceScan,
         "had changed since the scan or could not be backed up",
         "had changed since the scan or could not be backed up");
    part(result.keptNotEmpty, "key or folder still holds items the scan did not list",
         "keys or folders still hold items the scan did not list");
    part(result.refused, "could not be removed (in use, or no rights)",
         "could not be removed (in use, or no rights)");
    return text.empty() ? text : "\n\nLeft as they are:" + text;
}

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

namespace {

// What the engine must still find of files that are removed without a
// backup: the files as their scan found them.
std::vector<RepairExpectation> unbackedExpectations(const std::vector<TaskEntry*>& entries) {
    std::vector<RepairExpectation> expected(entries.size());
    const uint64_t unusedSince = startOfTodayUtc();
    for (size_t i = 0; i < entries.size(); ++i) {
        const TaskEntry& e = *entries[i];
        if (e.type != EntryFile || !(e.fileChecks & FileStampKnown)) continue;
        expected[i].flags =
            RepairExpectFile | (e.fileChecks & FoundUnused ? RepairExpectUnused : 0);
        expected[i].fileSize = e.fileSize;
        expected[i].lastWriteTime = e.lastWrite;
        expected[i].latestAccess = unusedSince - 1;
    }
    return expected;
}

// What the engine must still find of each entry it is given.
std::vector<RepairExpectation> expectationsOf(const WrittenBackup& backup,
                                              const std::vector<size_t>& given) {
    std::vector<RepairExpectation> expected(given.size());
    for (size_t k = 0; k < given.size(); ++k) {
        const BackedUpEntry& e = backup.entries[given[k]];
        RepairExpectation& x = expected[k];
        x.flags = e.expectFlags;
        x.fileSize = e.fileSize;
        x.lastWriteTime = e.lastWrite;
        x.latestAccess = e.latestAccess;
        x.valueType = e.valueType;
        x.dataSize = static_cast<unsigned long>(e.valueData.size());
        x.data = e.valueData.empty() ? nullptr : e.valueData.data();
    }
    return expected;
}

}  // namespace

RepairResult runRepair(const std::vector<ITask*>& categories, const RepairEngine& engine,
                       WorkingView& working) {
    Settings* settings = getSettings();
    uint64_t freeBytes = 0;
    const bool spaceKnown = freeSpaceQuery()(settings->installFolder(), freeBytes);

    working.show();

    std::vector<Repaired> repaired;
    for (ITask* category : categories) {
        std::vector<TaskEntry*> entries;
        category->getEntries(entries);
        if (category->problemCount() == 0) continue;
        // What the user unticked in the problem report is not touched: not
        // backed up, not counted, not repaired.
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const TaskEntry* e) { return e->leftAlone; }),
                      entries.end());
        if (entries.empty()) continue;
        repaired.emplace_back();
        repaired.back().category = category;
        repaired.back().entries = std::move(entries);
    }

    // The room is asked before anything is backed up: a refused repair
    // leaves every backup as it was.
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
        if (HWND main = win::mainWindowHandle()) SetForegroundWindow(main);
        return result;
    }

    // No backup, no change: what could not be backed up is not handed to the
    // engine. Internet Cleaner's cache files are deleted without a copy. A
    // slot is taken only when there is something to back up, and an old
    // backup in it is given up only once the repair removed something it
    // backed up; until then it waits aside.
    bool needsBackup = false;
    for (const Repaired& r : repaired)
        needsBackup = needsBackup || (!r.entries.empty() && r.category->name() != kInternetCleaner);
    const std::string slot = needsBackup ? settings->beginBackup() : std::string();
    if (needsBackup) clearSlot(slot);
    BackupCopies copies(slot);
    bool anythingBackedUp = false;
    uint64_t toBackUp = 0;
    for (const Repaired& r : repaired)
        if (r.category->name() != kInternetCleaner) toBackUp += r.entries.size();
    win::beginWorkStep("Backing up", toBackUp);
    for (Repaired& r : repaired) {
        if (r.category->name() == kInternetCleaner) {
            r.given.resize(r.entries.size());
            for (size_t i = 0; i < r.entries.size(); ++i) r.given[i] = i;
            r.expected = unbackedExpectations(r.entries);
            continue;
        }
        r.backedUp = true;
        writeReports(r.entries, r.category->name(), slot, copies, r.backup);
        for (size_t i = 0; i < r.entries.size(); ++i)
            if (r.backup.entries[i].saved) r.given.push_back(i);
        anythingBackedUp = anythingBackedUp || !r.given.empty();
    }

    // Before anything is removed, the backup is in the index (a repair that
    // stops halfway is restorable), and its copies are on the disk.
    if (anythingBackedUp) {
        settings->recordBackup(slot, std::time(nullptr), Settings::kUnfinishedRepair);
        const std::vector<std::string> unflushed = copies.flush();
        for (Repaired& r : repaired) {
            if (!r.backedUp || unflushed.empty()) continue;
            std::vector<size_t> safe;
            for (size_t i : r.given)
                if (std::find(unflushed.begin(), unflushed.end(), r.backup.entries[i].copy) ==
                    unflushed.end())
                    safe.push_back(i);
            r.given = std::move(safe);
        }
    } else if (needsBackup) {
        clearSlot(slot);
        settings->endBackup(slot, false);
    }
    for (const Repaired& r : repaired)
        if (r.backedUp)
            result.notBackedUp += static_cast<uint32_t>(r.entries.size() - r.given.size());

    // What the engine says it removed is what the user is told. A category
    // may count several entries as one problem (Internet Cleaner), so no
    // category counts more than its problem count.
    bool anythingRemoved = false;
    uint64_t toRepair = 0;
    for (const Repaired& r : repaired) toRepair += r.given.size();
    win::beginWorkStep("Repairing", toRepair);
    for (Repaired& r : repaired) {
        if (r.given.empty()) continue;
        std::vector<TaskEntry*> list;
        for (size_t i : r.given) list.push_back(r.entries[i]);
        std::vector<int> outcomes;
        if (r.backedUp) r.expected = expectationsOf(r.backup, r.given);
        const int removed = engine.runReport(list, &r.expected, &outcomes);
        win::advanceWork(list.size());
        r.removedCount = static_cast<uint32_t>(std::max(0, removed));
        r.removed.assign(r.entries.size(), false);
        for (size_t k = 0; k < r.given.size(); ++k) {
            switch (outcomes[k]) {
                case RepairRemoved:
                    r.removed[r.given[k]] = true;
                    break;
                case RepairChanged:
                    ++result.changedSinceScan;
                    break;
                case RepairNotEmpty:
                    ++result.keptNotEmpty;
                    break;
                case RepairFailed:
                    ++result.refused;
                    break;
                default:
                    break;
            }
        }
        if (r.backedUp) anythingRemoved = anythingRemoved || r.removedCount > 0;
    }
    for (const Repaired& r : repaired) {
        const uint32_t count = std::min(r.removedCount, r.category->problemCount());
        if (count == 0) continue;
        if (!result.summary.empty()) result.summary += ", ";
        result.summary += std::to_string(count) + " " + r.category->description();
        result.problemsFixed += count;
    }
    result.nothingBackedUp = !repaired.empty() && !anythingBackedUp;
    for (const Repaired& r : repaired)
        if (!r.backedUp && !r.given.empty()) result.nothingBackedUp = false;

    // The backup keeps exactly what the repair changed; one that changed
    // nothing is no backup.
    if (anythingBackedUp) {
        for (const Repaired& r : repaired)
            if (r.backedUp) keepOnlyRemoved(r.backup, r.removed);
        if (anythingRemoved) {
            settings->setBackupSummary(slot, result.summary);
        } else {
            clearSlot(slot);
            settings->forgetBackup(slot);
        }
        settings->endBackup(slot, anythingRemoved);
    }
    win::endWork();
    working.hide();

    if (result.problemsFixed != 0)
        win::showMessageBox(win::mainWindowHandle(),
                            "Congratulations!\n\nThere were " +
                                std::to_string(result.problemsFixed) +
                                " problems fixed on your system!" + leftAloneText(result),
                            "Mendora", MB_OK);
    else if (!repaired.empty())
        win::showMessageBox(
            win::mainWindowHandle(),
            std::string(result.nothingBackedUp ? kNothingBackedUp : kNothingRemoved) +
                leftAloneText(result),
            "Mendora", MB_OK | MB_ICONWARNING);
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
