// The worker that carries out the lines a listener receives, one after the
// other in the order they arrived: what each line asks for (see
// chat/line_actions.h) is shown, played or sent through the session.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "chat/line_actions.h"
#include "common/thread.h"

namespace chatsession {

class ChatSession;

class TMsgWaitThread : public win::Thread {
public:
    // `ownName` is the user's name, which decides the answer to a grab
    // request. Made suspended.
    TMsgWaitThread(ChatSession& session, std::string ownName);
    // Carries out the lines still waiting (none once shutdown is requested),
    // then ends.
    ~TMsgWaitThread() override;

    // The most lines that wait to be carried out; a server that sends faster
    // than the window can show for this long is not a conversation.
    static constexpr size_t maxWaiting = 1000;

    // False, and the line dropped, when maxWaiting lines wait already.
    bool addLine(const std::string& line);
    // Lines handed over and not yet carried out.
    size_t waiting();

protected:
    void execute() override;

private:
    void perform(const std::vector<lumonet::Action>& actions);

    ChatSession& session_;
    const std::string ownName_;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::string> lines_;
    bool closing_ = false;
};

}  // namespace chatsession
