#include "chat/session/listen_thread.h"

#include "chat/session/chat_session.h"

namespace chatsession {

TListenThread::TListenThread(ChatSession& session, const lumonet::NetConnection& connection,
                             std::string loginLine, const std::string& ownName)
    : session_(session),
      connection_(connection),
      loginLine_(std::move(loginLine)),
      worker_(std::make_unique<TMsgWaitThread>(session, ownName)) {}

TListenThread::~TListenThread() {
    running = false;
    worker_.reset();
    terminateAndWait();
}

void TListenThread::execute() {
    session_.markListenerStarted();
    running = true;
    worker_->resume();
    session_.sendLine(loginLine_);
    while (running && !stopped && !session_.shutdownRequested() && !terminated()) {
        const ReceivedLine line = session_.receiveLine(connection_);
        if (session_.shutdownRequested()) break;
        if (line.failed) {
            running = false;
            session_.onView([](ChatView& view) { view.setStartChatEnabled(true); });
        } else if (!line.text.empty()) {
            // A packet without text is no lost connection: nothing to show.
            worker_->addLine(line.text);
        }
    }
    stopped = true;
    session_.onView([](ChatView& view) { view.setStartChatEnabled(true); });
    session_.markListenerFinished();
}

}  // namespace chatsession
