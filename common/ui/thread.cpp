#include "thread.h"

#include <windows.h>

#include "application.h"

namespace ui {

Thread::Thread() {
    DWORD id = 0;
    handle_.reset(CreateThread(nullptr, 0, threadMain, this, CREATE_SUSPENDED, &id));
    if (!handle_) finished_ = true;
}

Thread::~Thread() {
    terminateAndWait();
}

unsigned long __stdcall Thread::threadMain(void* param) {
    auto* self = static_cast<Thread*>(param);
    // Nothing escapes the thread: an exception in execute() is reported like
    // one from a window procedure and ends the thread.
    if (!self->skipExecute_) guarded([self] { self->execute(); });
    self->finished_ = true;
    return 0;
}

void Thread::resume() {
    if (!handle_ || started_.exchange(true)) return;
    ResumeThread(handle_.get());
}

void Thread::waitFor() {
    if (!handle_) return;
    if (!started_.exchange(true)) {
        skipExecute_ = true;
        ResumeThread(handle_.get());
    }
    const HANDLE h = handle_.get();
    if (!Application::isUiThread()) {
        WaitForSingleObject(h, INFINITE);
        return;
    }
    MSG msg;
    for (;;) {
        // Serve other threads' synchronize calls, which this thread may be
        // waiting on.
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0)
            return;
    }
}

void Thread::terminateAndWait() {
    terminate();
    waitFor();
}

}  // namespace ui
