// The process-wide list of problem categories, the category scanning now,
// the duplicate check of one scan run and the undo of entry lists.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/text_store.h"
#include "scan/entry_restore.h"
#include "scan/task.h"
#include "scan/task_entry.h"

namespace sysrepair {

class TaskManager {
public:
    // The singleton, made on first use.
    static TaskManager* instance();
    // Deletes the singleton; the categories stay.
    static void release();

    // Called by the BasicTask constructor only.
    void registerTask(ITask* task);
    uint32_t taskCount() const { return static_cast<uint32_t>(tasks.size()); }
    // None when i is not below the count.
    ITask* taskAt(uint32_t i) const { return i < tasks.size() ? tasks[i] : nullptr; }

    ITask* currentTask() const { return current; }
    void setCurrentTask(ITask* task) { current = task; }

    // Starts a scan run's duplicate check afresh.
    void clearSeen() { seen.clear(); }
    // True when no equal entry was accepted before in this run. Used by the
    // scan worker thread only.
    bool acceptEntry(const TaskEntry& entry);
    // Undoes every entry, in list order, and tells how each went. Stops the
    // program when no category is registered.
    std::vector<RestoreOutcome> restoreEntries(const std::vector<TaskEntry*>& list,
                                               BackupCopy copies = BackupCopy::Delete);

    // Index of the entry that the backup report writer
    // (repair/backup_reports.h) is writing.
    int32_t reportIndex = 0;

private:
    TaskManager() = default;

    std::vector<ITask*> tasks;
    // The keys (entryKey) of the entries accepted in this run, end to end
    // rather than one string each: a PC-sized scan accepts tens of thousands.
    TextStore seen;
    std::atomic<ITask*> current{nullptr};
};

}  // namespace sysrepair
