#include "common/thread.h"

#include <windows.h>

#include "common/guarded.h"

namespace win {

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
    MSG msg;
    for (;;) {
        // Delivers the messages sent by other threads, nothing else.
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        if (MsgWaitForMultipleObjects(1, &h, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0)
            return;
    }
}

void Thread::terminateAndWait() {
    terminate();
    waitFor();
}

void pauseServingSentMessages(unsigned milliseconds) {
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_SENDMESSAGE);
    }
}

}  // namespace win
