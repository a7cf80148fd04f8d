// The scan monitor: watches the task manager while a scan run goes on and
// reports into the window, through synchronize, a log line for every new
// status text it sees, the name of the running scanner, and at the end of the
// run the number of possible problems. One thread serves one run.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/thread.h"
#include "scan/scan_view.h"
#include "scan/task.h"
#include "scan/worker_thread.h"

namespace sysrepair {

class UpdateThread : public win::Thread {
public:
    // Made suspended.
    UpdateThread() = default;
    ~UpdateThread() override;

    void setForm(ScanView* view) { form = view; }
    // The categories selected for the run, in task-manager order (copied).
    void setSelected(const std::vector<ITask*>& tasks) { selected = tasks; }
    void setWorker(WorkerThread* w) { worker = w; }
    void requestStop() { terminateRequested = true; }
    // The user cancelled: no more output, but the run still ends with
    // scanFinished set. The worker never loses a cancel, so an abort stays
    // in force for the rest of the run.
    void abort() { aborted = true; }

protected:
    void execute() override;

private:
    uint32_t problemsUpTo(ITask* current) const;
    void showStatus();
    void showResult();
    void onUiThread(void (UpdateThread::*step)());

    ScanView* form = nullptr;
    std::atomic<bool> terminateRequested{false};
    std::atomic<bool> finished{false};
    std::atomic<bool> aborted{false};
    std::atomic<uint32_t> total{0};
    std::string lastStatus;
    std::vector<ITask*> selected;
    WorkerThread* worker = nullptr;
};

}  // namespace sysrepair
