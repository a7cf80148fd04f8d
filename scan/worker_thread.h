// The scan worker: runs the scan() of each category of one scan run in turn.
// One thread serves one run; the main window makes a fresh one per run.
#pragma once

#include <atomic>
#include <vector>

#include "common/thread.h"
#include "scan/task.h"

namespace sysrepair {

class WorkerThread : public win::Thread {
public:
    // Made suspended.
    WorkerThread() = default;
    ~WorkerThread() override;

    // Hands over the categories of the run, in run order; they stay owned by
    // their creator. Called before the thread is resumed.
    void start(const std::vector<ITask*>& tasks);
    // Stops the run before its next category and asks the category that is
    // scanning now to stop.
    void cancelRun();
    bool isDone() const { return done; }
    void setDone(bool flag) { done = flag; }
    void requestStop() { terminateRequested = true; }

protected:
    void execute() override;

private:
    std::atomic<bool> terminateRequested{false};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> runRequested{false};
    std::vector<ITask*> runTasks;
    std::atomic<bool> done{true};
};

}  // namespace sysrepair
