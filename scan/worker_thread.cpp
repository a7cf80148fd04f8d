#include "scan/worker_thread.h"

#include <windows.h>

#include "common/guarded.h"
#include "scan/task_manager.h"

namespace sysrepair {

WorkerThread::~WorkerThread() {
    terminateAndWait();
}

void WorkerThread::start(const std::vector<ITask*>& tasks) {
    runTasks = tasks;
    // Cleared here rather than when the thread begins the run, so that a
    // cancel between the start and the thread's first pass is not lost.
    cancelled = false;
    done = false;
    runRequested = true;
}

void WorkerThread::cancelRun() {
    cancelled = true;
    if (ITask* current = TaskManager::instance()->currentTask()) current->cancel();
}

void WorkerThread::execute() {
    while (!terminateRequested && runRequested && !terminated()) {
        TaskManager::instance()->clearSeen();
        // Every category of the run starts empty, also one whose scan ends
        // before it gets to clear its list (a missing folder, a cancel): a
        // repair must never act on an earlier run's problems, and the log
        // must not start with an earlier run's last status.
        for (ITask* task : runTasks) task->reset();
        for (ITask* task : runTasks) {
            if (cancelled) break;
            // A category that fails, even by throwing, does not stop the run:
            // the run must always end so that the monitor reports it.
            win::guarded([task] { task->scan(); });
        }
        done = true;
        runRequested = false;
        Sleep(20);
    }
}

}  // namespace sysrepair
