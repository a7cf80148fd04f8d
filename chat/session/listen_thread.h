// The listener of one session: sends the login line, then receives lines
// until the connection ends or it is asked to stop, and hands each line to
// its worker.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "chat/net_connection.h"
#include "chat/session/msg_wait_thread.h"
#include "common/thread.h"

namespace chatsession {

class ChatSession;

class TListenThread : public win::Thread {
public:
    // Made suspended; resume() starts it.
    TListenThread(ChatSession& session, const lumonet::NetConnection& connection,
                  std::string loginLine, const std::string& ownName);
    // Clears `running`, waits for the thread, then ends the worker (which
    // first carries out the lines it holds, unless shutdown is requested).
    ~TListenThread() override;

    // Both threads of the session (this one and its worker) could be made.
    bool ready() const;

    std::atomic<bool> running{false};
    std::atomic<bool> stopped{false};

protected:
    void execute() override;

private:
    ChatSession& session_;
    lumonet::NetConnection connection_;
    const std::string loginLine_;
    std::unique_ptr<TMsgWaitThread> worker_;
};

}  // namespace chatsession
