// Parleclient's session engine: one chat session at a time with the support
// server, the connects (on a thread of their own) and the reconnects after a
// lost link, the listener thread that sends the login line and receives
// lines, the worker that carries the lines out in the order they arrived, the
// sound thread, and the orderly shutdown.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "chat/net_connection.h"
#include "chat/session/chat_view.h"
#include "chat/session/sound_thread.h"

namespace chatsession {

class ConnectJob;
class TListenThread;

// The support server listens on this port, whatever the login form says.
constexpr uint16_t kChatPort = 9191;

// A line as the listener receives it.
struct ReceivedLine {
    bool failed = false;  // the connection failed or closed
    std::string text;
};

class ChatSession {
public:
    explicit ChatSession(SoundPlayer player = playSoundFile);
    // The shutdown clean-up: calls off a connect, ends the listener, its
    // worker and the sound thread, each within a bounded wait.
    ~ChatSession();
    ChatSession(const ChatSession&) = delete;
    ChatSession& operator=(const ChatSession&) = delete;

    // The windows that show the session; none until they exist.
    void setView(ChatView* view) { view_ = view; }

    // Starts opening a session with the server on kChatPort (the port text is
    // carried but not used) on a thread of its own and returns at once; the
    // conversation says "Connecting to HOST…". Once the connect has ended,
    // the view hears connectEnded; a failure is shown in the view's error box
    // (with the text of this attempt's error), then as the notice "Error
    // Connecting to Server". False, and nothing done, while a connect of the
    // user's is under way; a reconnect under way gives way to it. Called on
    // the user-interface thread.
    bool connectToServer(const std::string& host, const std::string& userName,
                         const std::string& email, const std::string& portText,
                         const std::string& systemInfoText);
    // Ends the session and any reconnect; with showNotice, says so (or that
    // there was none).
    void closeSession(bool showNotice);
    // Calls off the reconnect under way, if any, and says so; true when there
    // was one. Called on the user-interface thread.
    bool stopReconnecting();
    // Sends one line; when nothing could be written the session ends with the
    // notice "No Session in Progress" (and, when one was open, the client
    // tries to reconnect).
    void sendLine(const std::string& text);
    // For the listener: the next line on its connection. A failed or closed
    // read ends the session with the notice "Connection to server
    // terminated"; a link lost while in session is tried again.
    ReceivedLine receiveLine(lumonet::NetConnection& connection);
    // For the listener: the server sent more lines than the client could
    // carry out; the session ends without a reconnect.
    void endFlooded(lumonet::NetConnection& connection);
    // Plays a sound of the suite folder (the App Paths entry "Vimstack.exe")
    // on the sound thread; a request replaces one still waiting.
    void playSound(const std::string& relativePath);

    // The chat window was shown: a new run of the windows may use sessions.
    void clearShutdown() { shutdownRequested_ = false; }
    // The user confirmed exit: calls off a connect, ends the session and
    // waits for the listener, serving its calls onto this thread meanwhile.
    // Called on the user-interface thread.
    void shutdown();

    bool inSession() const { return inSession_; }
    // A connect of the user's or a reconnect is under way.
    bool connecting() const;
    bool reconnecting() const;
    bool shutdownRequested() const { return shutdownRequested_; }
    bool listenerStarted() const { return listenerStarted_; }
    bool listenerFinished() const { return listenerFinished_; }
    // The current listener, or none.
    TListenThread* listener() const { return listener_.get(); }

    // Hands a call over to the user-interface thread and waits for it; does
    // nothing without a view.
    void onView(const std::function<void(ChatView&)>& call);
    void showNotice(const std::string& text);

    // A listener starts (a session begins) and ends (the listener itself).
    void markListenerStarted();
    void markListenerFinished() { listenerFinished_ = true; }

private:
    void startConnect(int tries);
    void beginSession(const lumonet::NetConnection& connection);
    void connectFailed(int attempt, const lumonet::NetError& error);
    void linkLost();
    // Shows the notice of a session's end, and tries again when the link was
    // lost while in session.
    void endedWithNotice(const std::string& notice, bool linkWasLost);
    void showNotInSession();
    void callOffConnect();
    void destroyListener();
    lumonet::NetConnection currentConnection();

    lumonet::NetClient client_;
    std::mutex connectionLock_;
    lumonet::NetConnection connection_;
    // What a reconnect needs to log in again as the user did.
    std::string host_;
    std::string userName_;
    std::string loginLine_;
    std::shared_ptr<ConnectJob> connect_;
    // The connect called off last, which the exit waits for a little.
    std::shared_ptr<ConnectJob> ending_;
    // Lives as long as this session: a connect thread's steps reach the
    // session only while it does.
    std::shared_ptr<int> token_ = std::make_shared<int>(0);
    std::atomic<ChatView*> view_{nullptr};
    std::atomic<bool> inSession_{false};
    std::atomic<bool> shutdownRequested_{false};
    std::atomic<bool> listenerStarted_{false};
    std::atomic<bool> listenerFinished_{false};
    std::unique_ptr<TListenThread> listener_;
    const SoundPlayer player_;
    std::mutex soundLock_;
    std::unique_ptr<TSoundThread> sound_;
};

// "…" in the ANSI code page, or three dots where it has no such character.
std::string ellipsis();

}  // namespace chatsession
