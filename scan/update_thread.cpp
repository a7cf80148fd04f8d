#include "scan/update_thread.h"

#include <windows.h>

#include "common/guarded.h"
#include "common/internal_check.h"
#include "common/ui_thread.h"
#include "scan/scan_flags.h"
#include "scan/short_status.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

const uint32_t kLogGreen = 0x008000;
const uint32_t kBlack = 0x000000;

}  // namespace

UpdateThread::~UpdateThread() {
    terminateAndWait();
}

void UpdateThread::onUiThread(void (UpdateThread::*step)()) {
    // A failure inside the window must not end the monitor before it has set
    // scanFinished.
    win::guarded([this, step] { win::runOnUiThread([this, step] { (this->*step)(); }); });
}

uint32_t UpdateThread::problemsUpTo(ITask* current) const {
    // Adds the selected categories up to the current one (all of them at the
    // end of a run).
    TaskManager* tm = TaskManager::instance();
    const std::string currentName = current->name();
    int64_t currentIndex = -1;
    for (uint32_t i = 0; i < tm->taskCount(); ++i) {
        if (tm->taskAt(i)->name() == currentName) {
            currentIndex = i;
            break;
        }
    }
    uint32_t sum = 0;
    for (size_t i = 0; i < selected.size(); ++i) {
        if (currentIndex < static_cast<int64_t>(i)) break;
        sum += selected[i]->problemCount();
    }
    return sum;
}

void UpdateThread::execute() {
    INTERNAL_CHECK(worker != nullptr, "workerThread != NULL", "updateThread", 50);
    while (!terminateRequested && !finished && !terminated()) {
        ITask* current = TaskManager::instance()->currentTask();
        if (current) total = problemsUpTo(current);
        const bool running = current && current->isRunning();
        finished = worker->isDone() && !running;
        if (running) onUiThread(&UpdateThread::showStatus);
        // The final report comes whenever the run is over, also when no
        // category ever started (none selected could run) or when the last
        // category ended and the worker finished between two passes; waiting
        // for a pass that saw a category running would leave scanFinished
        // false for ever in those runs.
        if (finished) {
            if (current) onUiThread(&UpdateThread::showStatus);
            onUiThread(&UpdateThread::showResult);
            scanFinished = true;
        }
        wasRunning = running;
        Sleep(5);
    }
}

void UpdateThread::showStatus() {
    TaskManager* tm = TaskManager::instance();
    ITask* current = tm->currentTask();
    if (!current || !form) return;
    const std::string status = shortStatus(current->statusText());
    if (aborted || tm->currentTask() != current || status.empty() || status == lastStatus) return;
    lastStatus = status;
    form->appendLogLine(" [ Scanned ]      " + status, kLogGreen, true);
    form->setRunningCaption("Running " + current->name() + " Scanner");
    form->scrollLogToEnd();
}

void UpdateThread::showResult() {
    INTERNAL_CHECK(worker != nullptr, "workerThread != NULL", "updateThread", 141);
    worker->setDone(false);
    if (aborted || !form) return;
    form->showResultPanel();
    if (total != 0) {
        form->setRepairButtonsVisible(true);
        form->setResultTexts(std::to_string(total) + " Possible Problems",
                             "To repair the problems click the 'Make Repairs' button.  To ignore "
                             "the problems for now and run a scan later, click the 'Don't "
                             "Repair' button below.");
        form->setAdviceColour(kBlack);
    } else {
        form->setRepairButtonsVisible(false);
        form->setResultTexts("No Problems Detected",
                             "There were no errors found.  This is the optimal configuration "
                             "for this computer!");
    }
}

}  // namespace sysrepair
