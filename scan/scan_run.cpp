#include "scan/scan_run.h"

#include "common/thread.h"
#include "scan/scan_flags.h"

namespace sysrepair {

namespace {

const unsigned kStopPauseMs = 200;

template <typename T>
void stopThread(std::unique_ptr<T>& thread) {
    if (!thread) return;
    thread->requestStop();
    win::pauseServingSentMessages(kStopPauseMs);
    thread->terminate();
    thread.reset();
}

}  // namespace

ScanRun::~ScanRun() {
    stop();
}

void ScanRun::prepare(const std::vector<ITask*>& categories, ScanView& view) {
    stop();
    categories_ = categories;
    worker_ = std::make_unique<WorkerThread>();
    monitor_ = std::make_unique<UpdateThread>();
    monitor_->setSelected(categories_);
    monitor_->setForm(&view);
    monitor_->setWorker(worker_.get());
}

void ScanRun::begin() {
    if (!worker_ || !monitor_) return;
    scanFinished = false;
    worker_->start(categories_);
    worker_->resume();
    monitor_->resume();
}

void ScanRun::cancel() {
    if (worker_) worker_->cancelRun();
    if (monitor_) monitor_->abort();
}

void ScanRun::stop() {
    stopThread(monitor_);
    stopThread(worker_);
    // Nothing runs any more. A monitor stopped before the end of its run
    // (a cancel followed at once by a start that did not begin) would
    // otherwise leave the flag unset, and a close would wait for it for ever.
    scanFinished = true;
}

}  // namespace sysrepair
