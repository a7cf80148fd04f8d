#include "chat/session/listen_thread.h"

#include "chat/session/chat_session.h"

namespace chatsession {

TListenThread::TListenThread(ChatSession& session, const lumonet::NetConnection& connection,
                             std::string loginLine, const std::string& ownName)
    : session_(session),
      connection_(connection),
      loginLine_(std::move(loginLine)),
      worker_(std::make_unique<TMsgWaitThread>(session, ownName)) {}

bool TListenThread::ready() const {
    return valid() && worker_->valid();
}

TListenThread::~TListenThread() {
    // The listener first: it hands lines to the worker until it ends (its
    // connection is closed by now, so its read has failed or will). Then the
    // worker, which carries out what it still holds.
    running = false;
    terminateAndWait();
    worker_.reset();
}

void TListenThread::execute() {
    // Asked to end before it ran at all: nothing to send or receive.
    if (!terminated()) {
        running = true;
        worker_->resume();
        session_.sendLine(loginLine_);
        while (running && !stopped && !session_.shutdownRequested() && !terminated()) {
            const ReceivedLine line = session_.receiveLine(connection_);
            if (session_.shutdownRequested()) break;
            if (line.failed) {
                running = false;
                session_.onView([](ChatView& view) { view.setStartChatEnabled(true); });
            } else if (!line.text.empty() && !worker_->addLine(line.text)) {
                // More than the worker can ever carry out: a flooding server.
                session_.endFlooded(connection_);
                running = false;
            }
            // A packet without text is no lost connection: nothing to show.
        }
    }
    stopped = true;
    session_.onView([](ChatView& view) { view.setStartChatEnabled(true); });
    session_.markListenerFinished();
}

}  // namespace chatsession
