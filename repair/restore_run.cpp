#include "repair/restore_run.h"

#include <windows.h>

#include "repair/settings.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

// At most this many entries are named in the message; the rest are counted.
const size_t kNamedFailures = 10;

// The full path or registry name of an entry, for the user.
std::string describe(const TaskEntry& e) {
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

}  // namespace

NewestBackup readNewestBackup() {
    NewestBackup backup;
    backup.slot = getSettings()->newestBackupFolder();
    if (!backup.slot.empty()) readSlotReports(backup.slot, backup.reports);
    return backup;
}

RestoreResult restoreNewestBackup(const NewestBackup& backup) {
    TaskManager* tasks = TaskManager::instance();
    RestoreResult result;
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
                result.notRestored.push_back({describe(copy[i]), outcomes[i]});
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

    if (result.complete()) {
        clearSlot(backup.slot);
        getSettings()->removeNewestBackup();
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

RestoreMessage restoreMessage(const RestoreResult& result) {
    RestoreMessage message;
    if (result.complete()) {
        message.text = "All changes made to your system from the last repair have been undone.";
        message.caption = "System Restored";
        return message;
    }
    const uint32_t failed = static_cast<uint32_t>(result.notRestored.size()) + result.unreadable;
    const uint32_t total = result.restored + failed;
    message.caption = "Restore Incomplete";
    message.warning = true;
    message.text = failed > 0 ? std::to_string(failed) + " of the " + std::to_string(total) +
                                    " changes made by the last repair could not be undone:\n"
                              : std::string("The last repair could not be undone completely:\n");
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
