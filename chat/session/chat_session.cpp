#include "chat/session/chat_session.h"

#include <windows.h>

#include "chat/chat_link.h"
#include "chat/login_line.h"
#include "chat/reconnect_schedule.h"
#include "chat/session/connect_job.h"
#include "chat/session/listen_thread.h"
#include "common/app_path.h"
#include "common/exact_registry.h"
#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/thread.h"
#include "common/ui_thread.h"

namespace chatsession {

namespace {

const char kMain[] = "Main";
const char kNotInSession[] = "Parlewise Client - Not in Session";
// How long the exit waits for a connect thread that was called off: only a
// name lookup can hold it longer.
const int kConnectEndWaitMs = 3000;

std::string seconds(int ms) {
    return std::to_string((ms + 500) / 1000);
}

}  // namespace

std::string ellipsis() {
    static const std::string text = [] {
        std::string ansi;
        return win::exactAnsi(L"\u2026", 1, ansi) ? ansi : std::string("...");
    }();
    return text;
}

ChatSession::ChatSession(SoundPlayer player) : player_(std::move(player)) {}

ChatSession::~ChatSession() {
    // The windows may be gone; a listener still reading ends once its
    // connection is closed, and a connect thread hands nothing over any more.
    view_ = nullptr;
    shutdownRequested_ = true;
    closeSession(false);
    destroyListener();
    token_.reset();
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

void ChatSession::showNotInSession() {
    onView([](ChatView& view) { view.setSessionCaption(kNotInSession); });
}

void ChatSession::markListenerStarted() {
    listenerFinished_ = false;
    listenerStarted_ = true;
}

lumonet::NetConnection ChatSession::currentConnection() {
    std::lock_guard<std::mutex> lock(connectionLock_);
    return connection_;
}

bool ChatSession::connecting() const {
    return connect_ != nullptr;
}

bool ChatSession::reconnecting() const {
    return connect_ && connect_->reconnecting();
}

bool ChatSession::connectToServer(const std::string& host, const std::string& userName,
                                  const std::string& email, const std::string& /*portText*/,
                                  const std::string& systemInfoText) {
    if (connect_ && !connect_->reconnecting()) return false;
    if (connect_) {
        callOffConnect();
        onView([](ChatView& view) { view.setReconnecting(false); });
    }
    host_ = host;
    userName_ = userName;
    loginLine_ = lumonet::composeLoginLine(userName, email, systemInfoText);
    // The box names this attempt's error, not one left from an earlier try.
    client_.clearErrors();
    onView([&](ChatView& view) {
        view.setSessionCaption("Brisklane Support - Connecting to " + host + ellipsis());
        view.showLine(kMain, "Connecting to " + host + ellipsis(), true);
        view.setStartChatEnabled(false);
    });
    startConnect(1);
    return true;
}

void ChatSession::startConnect(int tries) {
    ConnectSteps steps;
    steps.waiting = [this](int attempt, int waitMs) {
        showNotice("Trying again in " + seconds(waitMs) + " s (try " + std::to_string(attempt) +
                   " of " + std::to_string(lumonet::reconnectTries) + ")" + ellipsis());
    };
    steps.trying = [this, tries](int attempt) {
        if (tries == 1) return;
        onView([&](ChatView& view) {
            view.setSessionCaption("Brisklane Support - Reconnecting to " + host_ + ellipsis());
            view.showLine(kMain,
                          "Reconnecting to " + host_ + " (try " + std::to_string(attempt) + " of " +
                              std::to_string(lumonet::reconnectTries) + ")" + ellipsis(),
                          true);
        });
    };
    steps.failed = [this](int attempt, const lumonet::NetError& error) {
        connectFailed(attempt, error);
    };
    steps.connected = [this](const lumonet::NetConnection& connection) {
        connect_.reset();
        client_.adopt(connection);
        beginSession(connection);
    };
    steps.gaveUp = [this, tries] {
        connect_.reset();
        if (tries == 1) return;  // the failure has said everything
        showNotice("Could not reconnect. Choose Login in the File menu to try again.");
        showNotInSession();
        onView([](ChatView& view) {
            view.setReconnecting(false);
            view.setStartChatEnabled(true);
        });
    };
    connect_ = ConnectJob::start(host_, kChatPort, tries, steps, token_);
    if (!connect_) {
        lumonet::NetError error;
        error.code = lumonet::SocketCreateFailed;
        error.detail = "no thread to connect on";
        connectFailed(1, error);
        if (tries > 1) steps.gaveUp();
    }
}

void ChatSession::connectFailed(int attempt, const lumonet::NetError& error) {
    if (connect_ && connect_->reconnecting()) {
        showNotice("Try " + std::to_string(attempt) + " failed: " + lumonet::formatError(error));
        return;
    }
    connect_.reset();
    client_.errorQueue().push(error.code, error.detail);
    const std::string text = client_.errorText();
    onView([&](ChatView& view) { view.showConnectError(text); });
    showNotice("Error Connecting to Server");
    inSession_ = false;
    showNotInSession();
    onView([](ChatView& view) {
        view.setStartChatEnabled(true);
        view.connectEnded(false);
    });
}

void ChatSession::beginSession(const lumonet::NetConnection& connection) {
    // The listener of the session before goes first, so that nothing it
    // still hands over (its last "Start Chat" enabled) follows this session's
    // start.
    destroyListener();
    onView([&](ChatView& view) {
        view.setSessionCaption("Brisklane Support - Live Chat on " + host_ + " as " + userName_);
        view.showLine(kMain, "Connected, ready to begin Session.", true);
        view.setStartChatEnabled(false);
        view.setReconnecting(false);
        view.connectEnded(true);
    });
    {
        std::lock_guard<std::mutex> lock(connectionLock_);
        connection_ = connection;
    }
    inSession_ = true;
    listener_ = std::make_unique<TListenThread>(*this, connection, loginLine_, userName_);
    if (!listener_->ready()) {
        // Without its threads the session would never end: a shutdown would
        // wait for a listener that never ran.
        listener_.reset();
        lumonet::NetConnection ended = connection;
        client_.close(ended);
        inSession_ = false;
        showNotice("The session could not be started: no thread to receive on.");
        showNotInSession();
        onView([](ChatView& view) { view.setStartChatEnabled(true); });
        return;
    }
    // Started now, as far as a shutdown is concerned: it waits for this
    // listener's end, also when its thread has not run yet.
    markListenerStarted();
    listener_->resume();
}

void ChatSession::linkLost() {
    if (shutdownRequested_ || connect_) return;
    onView([&](ChatView& view) {
        view.setSessionCaption("Brisklane Support - Reconnecting to " + host_ + ellipsis());
        view.setReconnecting(true);
    });
    startConnect(lumonet::reconnectTries);
}

void ChatSession::callOffConnect() {
    if (!connect_) return;
    connect_->cancel();
    ending_ = connect_;
    connect_.reset();
}

bool ChatSession::stopReconnecting() {
    if (!reconnecting()) return false;
    callOffConnect();
    showNotice("Reconnecting stopped.");
    showNotInSession();
    onView([](ChatView& view) {
        view.setReconnecting(false);
        view.setStartChatEnabled(true);
    });
    return true;
}

void ChatSession::closeSession(bool showNotice) {
    bool calledOff = false;
    if (reconnecting()) {
        calledOff = stopReconnecting();
    } else if (connect_) {
        callOffConnect();
        calledOff = true;
        if (showNotice) this->showNotice("Connecting stopped.");
        showNotInSession();
        onView([](ChatView& view) {
            view.setStartChatEnabled(true);
            view.connectEnded(false);
        });
    }
    if (inSession_.exchange(false)) {
        lumonet::NetConnection connection = currentConnection();
        if (!client_.close(connection)) {
            this->showNotice("Error closing connection");
            win::runOnUiThread([] {
                win::showMessageBox(win::mainWindowHandle(), "Error Closing Connection", "Error",
                                    MB_OK);
            });
        }
        if (showNotice) {
            onView([](ChatView& view) {
                view.setSessionCaption(kNotInSession);
                view.showLine(kMain, "Session Ended", true);
            });
        }
    } else if (showNotice && !calledOff) {
        this->showNotice("No Session in Progress");
    }
}

void ChatSession::sendLine(const std::string& text) {
    lumonet::NetConnection connection = currentConnection();
    if (lumonet::sendLine(client_, connection, text) >= 1) return;
    client_.close(connection);
    endedWithNotice("No Session in Progress", inSession_.exchange(false));
}

void ChatSession::endedWithNotice(const std::string& notice, bool linkWasLost) {
    // One hand-over: whoever sees the notice sees the reconnect under way.
    win::runOnUiThread([&] {
        if (ChatView* view = view_) view->showLine(kMain, notice, true);
        if (linkWasLost) linkLost();
    });
}

ReceivedLine ChatSession::receiveLine(lumonet::NetConnection& connection) {
    ReceivedLine line;
    line.text = lumonet::receiveLine(client_, connection, &line.failed);
    if (line.failed) {
        client_.close(connection);
        // Lost while in session, not ended by the user: try again.
        endedWithNotice("Connection to server terminated", inSession_.exchange(false));
    }
    return line;
}

void ChatSession::endFlooded(lumonet::NetConnection& connection) {
    client_.close(connection);
    if (!inSession_.exchange(false)) return;
    onView([](ChatView& view) {
        view.setSessionCaption(kNotInSession);
        view.showLine(kMain,
                      "The server sent more lines than the client can show; the session has "
                      "ended.",
                      true);
    });
}

void ChatSession::playSound(const std::string& relativePath) {
    // The stored folder ends with a backslash; the path is appended as it is.
    const std::string path = win::appPathFolder(win::kSuiteHostEntry) + relativePath;
    std::lock_guard<std::mutex> lock(soundLock_);
    if (!sound_) sound_ = std::make_unique<TSoundThread>(player_);
    sound_->request(path);
}

void ChatSession::shutdown() {
    shutdownRequested_ = true;
    closeSession(true);
    while (!listenerFinished_ && listenerStarted_) win::pauseServingSentMessages(1);
    destroyListener();
    // A connect thread that was called off hands nothing over any more; the
    // wait only keeps its socket from outliving the window by much.
    if (ending_) ending_->waitFinished(kConnectEndWaitMs);
}

void ChatSession::destroyListener() {
    if (!listener_) return;
    listener_->running = false;
    listener_->terminate();
    listener_.reset();
}

}  // namespace chatsession
