#include "shell/working_form.h"

#include <windows.h>

#include <string>

#include "common/message_box.h"
#include "common/thread.h"
#include "common/ui/application.h"
#include "common/ui/synchronize.h"
#include "common/work_progress.h"

namespace sysrepair {

namespace {

std::unique_ptr<WorkingFormThread> running;

ui::WindowOptions workingWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Working";
    o.clientWidth = 249;
    o.clientHeight = 73;
    o.frame = ui::Frame::Dialog;
    o.minimizeBox = true;
    o.maximizeBox = true;
    o.stayOnTop = true;
    return o;
}

void enableMainWindow(bool enable) {
    if (ui::Window* main = ui::Application::mainWindow()) EnableWindow(main->handle(), enable);
}

void setMainWindowBlock(const std::string& reason) {
    if (ui::Window* main = ui::Application::mainWindow()) main->setSessionEndBlock(reason);
}

// Serves the window's own messages between two steps of the animation.
void pumpThreadMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

TWorkingForm::TWorkingForm()
    : ui::Window(workingWindowOptions()),
      Label1(add<ui::Label>(ui::Bounds{16, 12, 217, 16}, "Working...Please Wait...")),
      ProgressBar1(add<ui::ProgressBar>(ui::Bounds{16, 36, 217, 20})) {
    onShow = [this] { mayClose = false; };
    onCloseQuery = [this] { return mayClose.load(); };
    // This thread answers while the user-interface thread is busy with the
    // work and cannot.
    onQueryEndSession = [this] { return mayClose.load(); };
}

void WorkingFormThread::execute() {
    auto form = std::make_unique<TWorkingForm>();
    form->centre();
    form->show();
    form_ = form.get();
    ready_ = true;
    std::string shown;
    while (!terminated()) {
        // The entries done of the step under way, once the work says; until
        // then the bar fills as a sign of life.
        win::WorkProgress progress;
        if (win::currentWork(progress) && progress.total > 0) {
            const std::string text = win::workProgressText(progress);
            if (text != shown) form->Label1.setText(text);
            shown = text;
            form->ProgressBar1.setPosition(static_cast<int>(progress.done * 100 / progress.total));
        } else if (form->ProgressBar1.position() < 100) {
            form->ProgressBar1.setPosition(form->ProgressBar1.position() + 1);
        }
        RedrawWindow(form->handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pumpThreadMessages();
        Sleep(10);
    }
    form->mayClose = true;
    form->ProgressBar1.setPosition(0);
    form->hide();
    form_ = nullptr;
}

void showWorking(Work work) {
    if (running) return;
    // The calling thread stays the user-interface thread even when the
    // animation makes the process's first window.
    ui::Application::initialize();
    setMainWindowBlock(work == Work::Repair ? "A repair is in progress"
                                            : "A restore is in progress");
    running = std::make_unique<WorkingFormThread>();
    running->resume();
    // The window exists before the work starts.
    while (!running->ready() && !running->finished()) win::pauseServingSentMessages(1);
    enableMainWindow(false);
}

void hideWorking() {
    if (!running) {
        win::showMessageBox(nullptr, "Null Working Form Thread", "Error", MB_OK);
        return;
    }
    setMainWindowBlock("");
    // Enabled before the working window hides, so that the main window gets
    // the foreground back.
    enableMainWindow(true);
    running->terminate();
    win::pauseServingSentMessages(200);
    running.reset();  // waits for the thread, which closes its window
}

WorkingFormThread* workingFormThread() {
    return running.get();
}

bool workInProgress() {
    return running != nullptr;
}

}  // namespace sysrepair
