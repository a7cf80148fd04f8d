// The "please wait" window of a repair or restore, animated by a thread of
// its own while the user-interface thread is busy with the work.
#pragma once

#include <atomic>
#include <memory>

#include "common/thread.h"
#include "common/ui/label.h"
#include "common/ui/progress_bar.h"
#include "common/ui/window.h"
#include "repair/repair_run.h"

namespace sysrepair {

class TWorkingForm : public ui::Window {
public:
    TWorkingForm();

    ui::Label& Label1;
    ui::ProgressBar& ProgressBar1;
    // A close request, and the end of the session, are refused until the
    // work is done.
    std::atomic<bool> mayClose{true};
};

// Makes the working window on its own thread, so that it keeps drawing while
// the user-interface thread works, and fills its bar in about a second.
class WorkingFormThread : public win::Thread {
public:
    ~WorkingFormThread() override { terminateAndWait(); }

    // The window while the thread runs, or none.
    TWorkingForm* form() const { return form_.load(); }
    // True once the window exists (or could not be made).
    bool ready() const { return ready_; }

protected:
    void execute() override;

private:
    std::atomic<TWorkingForm*> form_{nullptr};
    std::atomic<bool> ready_{false};
};

// What the work changes, as Windows names it to a user who ends the session
// meanwhile.
enum class Work { Repair, Restore };

// Starts the animation (unless one runs) and disables the main window, which
// holds up the end of the session until hideWorking.
void showWorking(Work work);
// Stops the animation, hides the window and enables the main window. Without
// a running animation it reports "Null Working Form Thread".
void hideWorking();
// The running animation thread, or none.
WorkingFormThread* workingFormThread();
// A repair or restore is under way: from showWorking until hideWorking.
bool workInProgress();

// The working window as the repair run shows it.
class WorkingWindow : public WorkingView {
public:
    void show() override { showWorking(Work::Repair); }
    void hide() override { hideWorking(); }
};

}  // namespace sysrepair
