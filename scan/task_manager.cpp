#include "scan/task_manager.h"

#include <new>

#include "common/internal_check.h"
#include "common/work_progress.h"

namespace sysrepair {

namespace {
TaskManager* singleton = nullptr;
}

TaskManager* TaskManager::instance() {
    if (!singleton) {
        singleton = new (std::nothrow) TaskManager();
        INTERNAL_CHECK(singleton != nullptr, "taskManager != NULL", "taskManager", 446);
    }
    return singleton;
}

void TaskManager::release() {
    delete singleton;
    singleton = nullptr;
}

void TaskManager::registerTask(ITask* task) {
    tasks.push_back(task);
}

TaskManager* TaskManager::existing() {
    return singleton;
}

void TaskManager::clearSeen() {
    std::lock_guard<std::mutex> lock(seenLock);
    seen.clear();
    dropped.clear();
}

void TaskManager::setKeepList(std::shared_ptr<const KeepList> list) {
    std::lock_guard<std::mutex> lock(seenLock);
    keepList = std::move(list);
}

bool TaskManager::acceptEntry(const TaskEntry& entry) {
    // A scan of a whole PC meets tens of thousands of entries: each is
    // looked up by its hash, not compared with every one seen before.
    std::lock_guard<std::mutex> lock(seenLock);
    if (keepList && keepList->keepsEntry(entry)) return false;
    return seen.insert(&entry).second;
}

bool TaskManager::acceptInto(std::vector<std::unique_ptr<TaskEntry>>& list,
                             std::unique_ptr<TaskEntry> entry) {
    list.push_back(std::move(entry));
    bool accepted = false;
    try {
        accepted = acceptEntry(*list.back());
    } catch (...) {
        list.pop_back();
        throw;
    }
    if (!accepted) list.pop_back();
    return accepted;
}

void TaskManager::forgetEntry(const TaskEntry& entry) {
    std::lock_guard<std::mutex> lock(seenLock);
    const auto found = seen.find(&entry);
    if (found != seen.end() && *found == &entry) seen.erase(found);
}

void TaskManager::dropEntry(std::unique_ptr<TaskEntry> entry) {
    std::lock_guard<std::mutex> lock(seenLock);
    const auto found = seen.find(entry.get());
    if (found != seen.end() && *found == entry.get()) dropped.push_back(std::move(entry));
}

std::vector<RestoreOutcome> TaskManager::restoreEntries(const std::vector<TaskEntry*>& list,
                                                        BackupCopy copies) {
    ITask* task = taskAt(0);
    INTERNAL_CHECK(task != nullptr, "task != NULL", "taskManager", 1118);
    // No category changes the undo of an entry, so each goes straight to it,
    // which also says how it went.
    std::vector<RestoreOutcome> outcomes;
    outcomes.reserve(list.size());
    for (TaskEntry* entry : list) {
        outcomes.push_back(restoreEntryOutcome(entry, copies));
        win::advanceWork();
    }
    return outcomes;
}

}  // namespace sysrepair
