#include "repair/restore_run.h"

#include "repair/backup_reports.h"
#include "repair/settings.h"
#include "scan/task_manager.h"

namespace sysrepair {

NewestBackup readNewestBackup() {
    NewestBackup backup;
    const std::string slot = getSettings()->newestBackupFolder();
    if (!slot.empty()) loadReports(slot, backup.reportLists, backup.categoryNames);
    return backup;
}

void restoreNewestBackup(const NewestBackup& backup) {
    TaskManager* tasks = TaskManager::instance();
    Settings* settings = getSettings();
    for (const std::vector<TaskEntry>& list : backup.reportLists) {
        // The undo works on a copy, so that the lists stay as read.
        std::vector<TaskEntry> copy = list;
        std::vector<TaskEntry*> entries;
        entries.reserve(copy.size());
        for (TaskEntry& entry : copy) entries.push_back(&entry);
        tasks->restoreEntries(entries);
    }
    clearSlot(settings->newestBackupFolder());
    settings->removeNewestBackup();
}

}  // namespace sysrepair
