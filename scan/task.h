// A problem category: the interface every category offers and the base class
// that keeps its entries, running flag, progress, status text and state.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "scan/task_entry.h"

namespace sysrepair {

class ITask {
public:
    // Replaces `out` with the category's entry pointers; the category keeps
    // owning them.
    virtual void getEntries(std::vector<TaskEntry*>& out) = 0;
    virtual uint32_t problemCount() = 0;
    virtual float progress() = 0;
    virtual std::string statusText() = 0;
    virtual uint8_t level() = 0;
    virtual std::string name() = 0;
    virtual std::string description() = 0;
    virtual bool scan() = 0;
    virtual bool restoreEntry(const TaskEntry* entry) = 0;
    virtual bool isRunning() = 0;
    virtual void reset() = 0;
    virtual void cancel() = 0;
    virtual bool marker() = 0;
    virtual ~ITask() = default;
};

enum TaskState : uint8_t { StateScanning = 0, StateCancelRequested = 1, StateIdle = 2 };

class BasicTask : public ITask {
public:
    using EntryList = std::vector<std::unique_ptr<TaskEntry>>;

    // Registers the new category with the task manager.
    BasicTask();
    ~BasicTask() override;
    BasicTask(const BasicTask&) = delete;
    BasicTask& operator=(const BasicTask&) = delete;

    void getEntries(std::vector<TaskEntry*>& out) override;
    uint32_t problemCount() override;
    float progress() override;
    std::string statusText() override;
    uint8_t level() override { return 2; }
    bool restoreEntry(const TaskEntry* entry) override;
    bool isRunning() override;
    void reset() override;
    void cancel() override;
    bool marker() override { return markerValue; }

protected:
    // Marks the scan as started or ended and makes this category the task
    // manager's current one; a start pauses 100 ms so that the monitor sees it.
    void setRunning(bool flag);
    void clearEntries();
    bool stopRequested();
    void setProgress(float percent);
    void setStatusText(const std::string& text);
    void setMarker(bool flag) { markerValue = flag; }
    // Offers a found problem to the run's duplicate check; appends it when it
    // was not seen before in this run. Returns whether it was appended.
    bool addEntry(std::unique_ptr<TaskEntry> entry);
    // Keeps the reason of entries of this scan (TaskEntry::setReason) as
    // long as the entries. Not while the entries lock is held.
    const std::string* keepReason(std::string text);

    // For scans that append several entries as one step: the list may be
    // used only while the returned lock is held.
    std::unique_lock<std::mutex> lockEntries() { return std::unique_lock<std::mutex>(entriesLock); }
    EntryList& lockedEntries() { return entries; }

private:
    EntryList entries;
    std::deque<std::string> reasons;  // guarded by entriesLock
    std::mutex entriesLock;
    bool running = false;
    float progressValue = 0;
    uint8_t state = StateIdle;
    std::string status;
    std::mutex runningLock;
    std::mutex statusLock;
    std::mutex stateLock;
    volatile bool markerValue = true;
};

}  // namespace sysrepair
