#include "chat/session/chat_session.h"

#include <windows.h>

#include "chat/chat_link.h"
#include "chat/login_line.h"
#include "chat/session/listen_thread.h"
#include "chat/session/sound_thread.h"
#include "common/app_path.h"
#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/thread.h"
#include "common/ui_thread.h"

namespace chatsession {

namespace {

const char kMain[] = "Main";

}  // namespace

ChatSession::ChatSession() = default;

ChatSession::~ChatSession() {
    // The windows may be gone; a listener still reading ends once its
    // connection is closed.
    view_ = nullptr;
    shutdownRequested_ = true;
    closeSession(false);
    destroyListener();
    std::lock_guard<std::mutex> lock(soundLock_);
    sound_.reset();
}

void ChatSession::onView(const std::function<void(ChatView&)>& call) {
    win::runOnUiThread([&] {
        if (ChatView* view = view_) call(*view);
    });
}

void ChatSession::showNotice(const std::string& text) {
    onView([&](ChatView& view) { view.showLine(kMain, text, true); });
}

void ChatSession::markListenerStarted() {
    listenerFinished_ = false;
    listenerStarted_ = true;
}

lumonet::NetConnection ChatSession::currentConnection() {
    std::lock_guard<std::mutex> lock(connectionLock_);
    return connection_;
}

bool ChatSession::connectToServer(const std::string& host, const std::string& userName,
                                  const std::string& email, const std::string& /*portText*/,
                                  const std::string& systemInfoText) {
    const std::string loginLine = lumonet::composeLoginLine(userName, email, systemInfoText);
    lumonet::NetConnection connection;
    if (!client_.connect(host, kChatPort, connection)) {
        const std::string error = client_.errorText();
        win::runOnUiThread([&] {
            win::showMessageBoxWithDefaultCaption(win::mainWindowHandle(), error,
                                                  MB_OK | MB_ICONQUESTION);
        });
        showNotice("Error Connecting to Server");
        inSession_ = false;
        return false;
    }
    // The listener of the session before goes first, so that nothing it
    // still hands over (its last "Start Chat" enabled) follows this session's
    // start.
    destroyListener();
    onView([&](ChatView& view) {
        view.setSessionCaption("Brisklane Support - Live Chat on " + host + " as " + userName);
        view.showLine(kMain, "Connected, ready to begin Session.", true);
        view.setStartChatEnabled(false);
    });
    {
        std::lock_guard<std::mutex> lock(connectionLock_);
        connection_ = connection;
    }
    inSession_ = true;
    listener_ = std::make_unique<TListenThread>(*this, connection, loginLine, userName);
    // Started now, as far as a shutdown is concerned: it waits for this
    // listener's end, also when its thread has not run yet.
    markListenerStarted();
    listener_->resume();
    return true;
}

void ChatSession::closeSession(bool showNotice) {
    if (inSession_) {
        lumonet::NetConnection connection = currentConnection();
        if (!client_.close(connection)) {
            this->showNotice("Error closing connection");
            win::runOnUiThread([] {
                win::showMessageBox(win::mainWindowHandle(), "Error Closing Connection", "Error",
                                    MB_OK);
            });
        }
        inSession_ = false;
        if (showNotice) {
            onView([](ChatView& view) {
                view.setSessionCaption("Parlewise Client - Not in Session");
                view.showLine(kMain, "Session Ended", true);
            });
        }
    } else if (showNotice) {
        this->showNotice("No Session in Progress");
    }
}

void ChatSession::sendLine(const std::string& text) {
    lumonet::NetConnection connection = currentConnection();
    if (lumonet::sendLine(client_, connection, text) >= 1) return;
    showNotice("No Session in Progress");
    client_.close(connection);
    inSession_ = false;
}

ReceivedLine ChatSession::receiveLine(lumonet::NetConnection& connection) {
    ReceivedLine line;
    line.text = lumonet::receiveLine(client_, connection, &line.failed);
    if (line.failed) {
        showNotice("Connection to server terminated");
        client_.close(connection);
        inSession_ = false;
    }
    return line;
}

void ChatSession::playSound(const std::string& relativePath) {
    // The stored folder ends with a backslash; the path is appended as it is.
    const std::string path = win::appPathFolder(win::kSuiteHostEntry) + relativePath;
    TSoundThread* player = nullptr;
    {
        std::lock_guard<std::mutex> lock(soundLock_);
        if (!sound_) {
            sound_ = std::make_unique<TSoundThread>();
            sound_->resume();
        }
        player = sound_.get();
    }
    player->request(path);
}

void ChatSession::shutdown() {
    shutdownRequested_ = true;
    closeSession(true);
    while (!listenerFinished_ && listenerStarted_) win::pauseServingSentMessages(1);
    destroyListener();
}

void ChatSession::destroyListener() {
    if (!listener_) return;
    listener_->running = false;
    listener_->terminate();
    listener_.reset();
}

}  // namespace chatsession
