// A thread object: made suspended, started with resume(), asked to end with
// terminate(), and destroyed, where destruction waits for the thread to end.
// Subclasses put the thread's work in execute() and check terminated() in
// every loop. Nothing thrown in execute() escapes the thread: it is reported
// through reportException (common/guarded.h) and ends the thread.
#pragma once

#include <atomic>

#include "common/win_handles.h"

namespace win {

class Thread {
public:
    Thread();
    // Asks the thread to end and waits for it; a thread that was never
    // resumed ends without running execute(). Subclasses whose execute() has
    // its own stop conditions make them true before this runs (call
    // terminateAndWait() in their destructor).
    virtual ~Thread();
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

    // False when the thread could not be made.
    bool valid() const { return handle_.valid(); }
    void resume();
    // A request only: sets the flag that execute() checks.
    void terminate() { terminated_ = true; }
    bool terminated() const { return terminated_; }
    bool finished() const { return finished_; }
    // Waits for the end of the thread while serving the messages that other
    // threads send to the waiting one: a user-interface thread that waits for
    // a thread inside a call onto the user-interface thread would otherwise
    // wait for ever. Resumes a thread that was never started, which then
    // ends at once.
    void waitFor();

protected:
    virtual void execute() = 0;
    // For subclass destructors: ends the thread while the subclass is whole.
    void terminateAndWait();

private:
    static unsigned long __stdcall threadMain(void* self);

    KernelHandle handle_;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> started_{false};
    std::atomic<bool> skipExecute_{false};
    std::atomic<bool> finished_{false};
};

// Pauses the calling thread for up to `milliseconds` while serving the
// messages other threads send to it. For waits on the user-interface thread,
// where a plain Sleep() would deadlock against a thread that is handing work
// to it.
void pauseServingSentMessages(unsigned milliseconds);

}  // namespace win
