// The process-wide list of problem categories, the category scanning now,
// the duplicate check of one scan run and the undo of entry lists.
#pragma once

#include <atomic>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

#include "task.h"
#include "task_entry.h"

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
    // Undoes every entry through the first registered category.
    void restoreEntries(const std::vector<TaskEntry*>& list);

    // Backup reports of a backup slot. Their file format and the file work
    // belong to the backup files, so these are defined in the repair library.
    //
    // Writes one category's backup report into the slot and copies its files
    // into the slot's "files" folder. False when the report could not be made;
    // then nothing was backed up. `backedUp`, when given, tells per entry
    // whether it was: an entry whose file could not be copied or whose texts
    // are too long to store was not, and must not be repaired.
    bool writeReport(const std::vector<TaskEntry*>& entries, const std::string& categoryName,
                     const std::string& slotFolder, std::vector<bool>* backedUp = nullptr);
    // Appends the report's entries to `entries`; false unless the file is a
    // backup report. A damaged report gives the entries before the damage.
    bool readReport(const std::string& path, std::vector<TaskEntry>& entries,
                    std::string& categoryName);
    // Reads every report of the slot, in listing order: one entry list and
    // one category name per report. False when the slot cannot be listed.
    bool loadReports(const std::string& slotFolder, std::vector<std::vector<TaskEntry>>& lists,
                     std::vector<std::string>& categoryNames);
    // Deletes the slot's reports and file copies; other files stay. False
    // when the slot or its "files" folder cannot be listed.
    bool clearSlot(const std::string& slotFolder);

    // Index of the entry that the backup report writer is writing.
    int32_t reportIndex = 0;

private:
    TaskManager() = default;

    std::vector<ITask*> tasks;
    std::list<TaskEntry> seen;
    std::atomic<ITask*> current{nullptr};
};

}  // namespace sysrepair
