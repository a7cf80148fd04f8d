// The scan threads of one run, as the main window drives them: a fresh
// worker and monitor per run, made suspended, started, cancelled and stopped
// in a fixed order.
#pragma once

#include <memory>
#include <vector>

#include "scan/scan_view.h"
#include "scan/task.h"
#include "scan/update_thread.h"
#include "scan/worker_thread.h"

namespace sysrepair {

class ScanRun {
public:
    ScanRun() = default;
    // Stops the threads, so that they end before the view they report into.
    ~ScanRun();
    ScanRun(const ScanRun&) = delete;
    ScanRun& operator=(const ScanRun&) = delete;

    // Stops the previous run's threads and makes a fresh worker and monitor,
    // both suspended; the monitor reports the categories' run into the view.
    void prepare(const std::vector<ITask*>& categories, ScanView& view);
    // Marks the run as under way (scanFinished false), hands the worker the
    // categories and resumes the worker, then the monitor.
    void begin();
    // Stops the run before its next category, asks the running one to stop,
    // and keeps the monitor from showing results. The run still ends with
    // scanFinished set.
    void cancel();
    // Ends the threads, the monitor first (it reads the worker): a stop
    // request, a 200 ms pause that serves their calls onto this thread,
    // termination and destruction.
    void stop();

    WorkerThread* worker() const { return worker_.get(); }

private:
    std::vector<ITask*> categories_;
    std::unique_ptr<WorkerThread> worker_;
    std::unique_ptr<UpdateThread> monitor_;
};

}  // namespace sysrepair
