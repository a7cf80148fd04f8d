// The process-wide list of problem categories, the category scanning now,
// the duplicate check of one scan run and the undo of entry lists.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "scan/entry_restore.h"
#include "scan/keep_list.h"
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
    void clearSeen();
    // What the user keeps for good: from now on no entry it keeps is
    // accepted. None keeps nothing.
    void setKeepList(std::shared_ptr<const KeepList> list);
    // True, and the entry is remembered, when no equal entry was accepted
    // before in this run and the user does not keep it. The check holds the entry itself, not a
    // copy, so an accepted entry must stay where it is until it is forgotten or the check starts
    // afresh (a category's list keeps it in place).
    bool acceptEntry(const TaskEntry& entry);
    // Appends the entry to the list when no equal entry was accepted before
    // in this run; true when it was. The list holds the entry before the
    // check does, so that nothing that fails on the way leaves the check
    // holding an entry that is gone.
    bool acceptInto(std::vector<std::unique_ptr<TaskEntry>>& list,
                    std::unique_ptr<TaskEntry> entry);
    // Undoes acceptEntry for an entry that is destroyed before it reaches a
    // list.
    void forgetEntry(const TaskEntry& entry);
    // Takes an entry that a category drops from its list. One that the check
    // holds is kept until the check starts afresh, so that the run still
    // knows it was found; any other is destroyed.
    void dropEntry(std::unique_ptr<TaskEntry> entry);
    // The singleton if it was made, without making it.
    static TaskManager* existing();
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
    struct HashOfEntry {
        size_t operator()(const TaskEntry* e) const { return static_cast<size_t>(entryHash(*e)); }
    };
    struct EqualEntries {
        bool operator()(const TaskEntry* a, const TaskEntry* b) const {
            return entriesEqual(*a, *b);
        }
    };
    // The entries accepted in this run: a PC-sized scan accepts tens of
    // thousands, and a copy of each one's text would double what they take.
    std::unordered_set<const TaskEntry*, HashOfEntry, EqualEntries> seen;
    // Entries of this run that their categories dropped.
    std::vector<std::unique_ptr<TaskEntry>> dropped;
    std::shared_ptr<const KeepList> keepList;
    std::mutex seenLock;
    std::atomic<ITask*> current{nullptr};
};

}  // namespace sysrepair
