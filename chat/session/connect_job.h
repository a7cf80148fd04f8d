// One way into a session: the tries to open a chat connection, on a thread of
// its own so that the windows never wait for a name lookup, a connect or a
// server's hello. A reconnect makes several tries with growing waits; the
// user's own connect makes one.
//
// The thread is nobody's to wait for: it holds the job alive itself and hands
// each step to the user-interface thread, where it reaches the owner only
// while the owner's token lives and the job has not been called off. A
// connection that nobody took any more is closed by the thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "chat/connection_opener.h"
#include "common/win_handles.h"

namespace chatsession {

struct ConnectSteps {
    // Before try `attempt`, a wait of this long begins (reconnects only).
    std::function<void(int attempt, int waitMs)> waiting;
    std::function<void(int attempt)> trying;
    std::function<void(int attempt, const lumonet::NetError& error)> failed;
    // The connection is the owner's from here on.
    std::function<void(const lumonet::NetConnection& connection)> connected;
    // Every try failed.
    std::function<void()> gaveUp;
};

class ConnectJob {
public:
    // Starts the tries (1, or lumonet::reconnectTries with waits before
    // each); null when no thread could be made.
    static std::shared_ptr<ConnectJob> start(const std::string& host, uint16_t port, int tries,
                                             ConnectSteps steps, std::weak_ptr<void> ownerToken);

    // From any thread: no step reaches the owner any more, waits and
    // connects end within a fifth of a second.
    void cancel();
    bool cancelled() const { return cancelled_; }
    bool finished() const { return finished_; }
    bool reconnecting() const { return tries_ > 1; }
    // Waits up to `ms` for the thread's end, serving the hand-overs of other
    // threads meanwhile; true when it ended.
    bool waitFinished(int ms) const;

    ConnectJob(const std::string& host, uint16_t port, int tries, ConnectSteps steps,
               std::weak_ptr<void> ownerToken);

private:
    static unsigned long __stdcall threadMain(void* job);
    void run();
    // Runs the step on the user-interface thread if the owner still wants
    // it; false when it did not run there.
    bool deliver(const std::function<void()>& step);

    const std::string host_;
    const uint16_t port_;
    const int tries_;
    const ConnectSteps steps_;
    const std::weak_ptr<void> ownerToken_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    win::KernelHandle wake_;
};

}  // namespace chatsession
