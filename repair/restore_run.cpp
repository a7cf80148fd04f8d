#include "repair/restore_run.h"

#include <windows.h>

#include "common/file_contents.h"
#include "common/win_handles.h"
#include "common/work_progress.h"
#include "repair/report_format.h"
#include "repair/settings.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

// At most this many entries are named in the message; the rest are counted.
const size_t kNamedFailures = 10;

}  // namespace

std::string entryLocation(const TaskEntry& e) {
    switch (e.type) {
        case EntryFile:
        case EntryFolder:
            return e.path();
        case EntryRegKey:
            return e.rootName() + "\\" + e.keyPath();
        default:
            return e.rootName() + "\\" + e.keyPath() + "\\" + e.valueName();
    }
}

size_t SlotBackup::entryCount() const {
    size_t count = 0;
    for (const SlotReport& report : reports) count += report.entries.size();
    return count;
}

SlotBackup readBackup(const std::string& slot) {
    SlotBackup backup;
    backup.slot = slot;
    if (!backup.slot.empty()) readSlotReports(backup.slot, backup.reports);
    return backup;
}

SlotBackup readNewestBackup() {
    return readBackup(getSettings()->newestBackupFolder());
}

uint32_t countBackupEntries(const std::string& slot) {
    uint32_t count = 0;
    const std::string folder = slot.empty() || slot.back() == '\\' ? slot : slot + "\\";
    WIN32_FIND_DATAA found;
    win::FindHandle find(FindFirstFileA((folder + "*.srb").c_str(), &found));
    if (!find) return 0;
    do {
        std::string header;
        std::string name;
        uint32_t records = 0;
        if (win::readFileBytes(folder + found.cFileName, kReportHeaderLimit, header) &&
            readReportHeader(header, name, records))
            count += records;
    } while (FindNextFileA(find.get(), &found));
    return count;
}

RestoreResult restoreBackup(const SlotBackup& backup) {
    TaskManager* tasks = TaskManager::instance();
    RestoreResult result;
    win::beginWorkStep("Restoring", backup.entryCount());
    // Per report: the entries that stay, and the copies of those that came
    // back, deleted only once no record names them any more.
    std::vector<std::vector<TaskEntry>> kept(backup.reports.size());
    std::vector<std::vector<std::string>> spentCopies(backup.reports.size());
    for (size_t r = 0; r < backup.reports.size(); ++r) {
        const SlotReport& report = backup.reports[r];
        // The undo works on a copy, so that the lists stay as read.
        std::vector<TaskEntry> copy = report.entries;
        std::vector<TaskEntry*> entries;
        entries.reserve(copy.size());
        for (TaskEntry& entry : copy) entries.push_back(&entry);
        const std::vector<RestoreOutcome> outcomes =
            tasks->restoreEntries(entries, BackupCopy::Keep);
        for (size_t i = 0; i < copy.size(); ++i) {
            if (!isBack(outcomes[i])) {
                result.notRestored.push_back({entryLocation(copy[i]), outcomes[i]});
                kept[r].push_back(report.entries[i]);
                continue;
            }
            ++result.restored;
            if (copy[i].type == EntryFile && !copy[i].backupCopy().empty() &&
                copy[i].backupCopy() != kNoCopyMarker)
                spentCopies[r].push_back(copy[i].backupCopy());
        }
        if (!report.complete) {
            ++result.damagedReports;
            result.unreadable += report.unread;
        }
    }

    win::endWork();
    if (result.complete()) {
        clearSlot(backup.slot);
        getSettings()->forgetBackup(backup.slot);
        return result;
    }
    // The backup stays in the index. A damaged report stays as it is, copies
    // and all: what it could not give would be lost with them.
    for (size_t r = 0; r < backup.reports.size(); ++r) {
        const SlotReport& report = backup.reports[r];
        if (!report.complete) continue;
        const bool updated = kept[r].empty() ? DeleteFileA(report.path.c_str()) != 0
                                             : rewriteReport(report, kept[r]);
        if (!updated) continue;
        for (const std::string& spent : spentCopies[r]) DeleteFileA(spent.c_str());
    }
    return result;
}

std::string restoreFailureReason(RestoreOutcome outcome) {
    switch (outcome) {
        case RestoreOutcome::NameTaken:
            return "a file of that name exists";
        case RestoreOutcome::CopyMissing:
            return "its backup copy is missing";
        case RestoreOutcome::CopyFailed:
            return "its backup copy could not be copied back";
        case RestoreOutcome::FolderNotMade:
            return "the folder could not be made";
        case RestoreOutcome::RegistryRefused:
            return "the registry refused the change";
        case RestoreOutcome::ValueChanged:
            return "the value was written again after the repair";
        default:
            return "it is back";
    }
}

RestoreMessage restoreMessage(const RestoreResult& result, const std::string& repair) {
    RestoreMessage message;
    if (result.complete()) {
        message.text = "All changes made to your system from " + repair + " have been undone.";
        message.caption = "System Restored";
        return message;
    }
    const uint32_t failed = static_cast<uint32_t>(result.notRestored.size()) + result.unreadable;
    const uint32_t total = result.restored + failed;
    message.caption = "Restore Incomplete";
    message.warning = true;
    message.text = failed > 0 ? std::to_string(failed) + " of the " + std::to_string(total) +
                                    " changes made by " + repair + " could not be undone:\n"
                              : "Changes made by " + repair + " could not all be undone:\n";
    for (size_t i = 0; i < result.notRestored.size() && i < kNamedFailures; ++i)
        message.text += "\n" + result.notRestored[i].what + ": " +
                        restoreFailureReason(result.notRestored[i].why);
    if (result.notRestored.size() > kNamedFailures)
        message.text +=
            "\n... and " + std::to_string(result.notRestored.size() - kNamedFailures) + " more";
    if (result.unreadable > 0)
        message.text += "\n" + std::to_string(result.unreadable) +
                        " could not be read: their backup report is damaged";
    else if (result.damagedReports > 0)
        message.text += "\nA backup report is damaged and could not be read to its end";
    message.text +=
        "\n\nThey stay in the backup, with their copies. Clear what is in their way and choose "
        "Restore again.";
    return message;
}

}  // namespace sysrepair
