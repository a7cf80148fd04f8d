#include "chat/session/msg_wait_thread.h"

#include "chat/session/chat_session.h"

namespace chatsession {

using lumonet::Action;
using lumonet::ActionKind;

TMsgWaitThread::TMsgWaitThread(ChatSession& session, std::string ownName)
    : session_(session), ownName_(std::move(ownName)) {}

TMsgWaitThread::~TMsgWaitThread() {
    {
        std::lock_guard<std::mutex> lock(lock_);
        closing_ = true;
    }
    wake_.notify_all();
    // The thread ends by itself once the queue is empty; waiting serves its
    // calls onto this thread.
    waitFor();
}

bool TMsgWaitThread::addLine(const std::string& line) {
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (lines_.size() >= maxWaiting) return false;
        lines_.push_back(line);
    }
    wake_.notify_one();
    return true;
}

size_t TMsgWaitThread::waiting() {
    std::lock_guard<std::mutex> lock(lock_);
    return lines_.size();
}

void TMsgWaitThread::execute() {
    for (;;) {
        std::string line;
        {
            std::unique_lock<std::mutex> lock(lock_);
            wake_.wait(lock, [this] { return closing_ || !lines_.empty(); });
            if (lines_.empty()) return;  // closing, nothing left
            line = lines_.front();
        }
        if (!session_.shutdownRequested()) perform(lumonet::interpretLine(line, ownName_));
        std::lock_guard<std::mutex> lock(lock_);
        lines_.pop_front();
    }
}

void TMsgWaitThread::perform(const std::vector<Action>& actions) {
    for (const Action& action : actions) {
        switch (action.kind) {
            case ActionKind::Show:
                session_.onView([&](ChatView& view) {
                    view.showLine(action.sender, action.text, action.flag);
                });
                break;
            case ActionKind::Play:
                session_.playSound(action.text);
                break;
            case ActionKind::Send:
                session_.sendLine(action.text);
                break;
            case ActionKind::FlashIfUnfocused:
                session_.onView([](ChatView& view) { view.flashIfUnfocused(); });
                break;
            case ActionKind::EnableSubmit:
                session_.onView([&](ChatView& view) { view.setSubmitEnabled(action.flag); });
                break;
            case ActionKind::PresentIm:
                session_.onView([&](ChatView& view) {
                    view.presentInstantMessage(action.sender, action.text, action.flag);
                });
                break;
            case ActionKind::ErrorBox:
                session_.onView(
                    [&](ChatView& view) { view.showErrorBox(action.text, action.caption); });
                break;
            case ActionKind::Ask: {
                bool yes = false;
                session_.onView(
                    [&](ChatView& view) { yes = view.askYesNo(action.text, action.caption); });
                perform(yes ? action.onYes : action.onNo);
                break;
            }
        }
    }
}

}  // namespace chatsession
