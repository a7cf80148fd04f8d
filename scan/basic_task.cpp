#include <chrono>
#include <thread>

#include "scan/entry_restore.h"
#include "scan/task.h"
#include "scan/task_manager.h"

namespace sysrepair {

BasicTask::BasicTask() {
    TaskManager::instance()->registerTask(this);
}

BasicTask::~BasicTask() {
    clearEntries();
}

void BasicTask::getEntries(std::vector<TaskEntry*>& out) {
    std::lock_guard<std::mutex> lock(entriesLock);
    out.clear();
    out.reserve(entries.size());
    for (const auto& e : entries) out.push_back(e.get());
}

uint32_t BasicTask::problemCount() {
    std::lock_guard<std::mutex> lock(entriesLock);
    return static_cast<uint32_t>(entries.size());
}

float BasicTask::progress() {
    std::lock_guard<std::mutex> lock(statusLock);
    return progressValue;
}

std::string BasicTask::statusText() {
    std::lock_guard<std::mutex> lock(statusLock);
    return status;
}

bool BasicTask::restoreEntry(const TaskEntry* entry) {
    return restoreTaskEntry(entry);
}

bool BasicTask::isRunning() {
    std::lock_guard<std::mutex> lock(runningLock);
    return running;
}

void BasicTask::reset() {
    clearEntries();
    {
        std::lock_guard<std::mutex> lock(runningLock);
        running = false;
    }
    {
        std::lock_guard<std::mutex> lock(stateLock);
        state = StateIdle;
    }
    std::lock_guard<std::mutex> lock(statusLock);
    progressValue = 0;
    status.clear();
}

void BasicTask::cancel() {
    std::lock_guard<std::mutex> lock(stateLock);
    state = StateCancelRequested;
}

void BasicTask::setRunning(bool flag) {
    {
        std::lock_guard<std::mutex> lock(runningLock);
        running = flag;
        TaskManager::instance()->setCurrentTask(this);
    }
    {
        std::lock_guard<std::mutex> lock(stateLock);
        state = flag ? StateScanning : StateIdle;
    }
    if (flag) std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

void BasicTask::clearEntries() {
    std::lock_guard<std::mutex> lock(entriesLock);
    TaskManager* manager = TaskManager::existing();
    while (!entries.empty()) {
        if (manager) manager->dropEntry(std::move(entries.back()));
        entries.pop_back();
    }
    // The check may keep dropped entries for the rest of the run; it never
    // reads their reasons.
    reasons.clear();
}

const std::string* BasicTask::keepReason(std::string text) {
    std::lock_guard<std::mutex> lock(entriesLock);
    reasons.push_back(std::move(text));
    return &reasons.back();
}

bool BasicTask::stopRequested() {
    std::lock_guard<std::mutex> lock(stateLock);
    return state != StateScanning;
}

void BasicTask::setProgress(float percent) {
    std::lock_guard<std::mutex> lock(statusLock);
    progressValue = percent;
}

void BasicTask::setStatusText(const std::string& text) {
    std::lock_guard<std::mutex> lock(statusLock);
    status = text;
}

bool BasicTask::addEntry(std::unique_ptr<TaskEntry> entry) {
    std::lock_guard<std::mutex> lock(entriesLock);
    // In the list first: the duplicate check remembers the entry where it
    // stays.
    entries.push_back(std::move(entry));
    if (TaskManager::instance()->acceptEntry(*entries.back())) return true;
    entries.pop_back();
    return false;
}

}  // namespace sysrepair
