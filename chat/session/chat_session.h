// Parleclient's session engine: one chat session at a time with the support
// server, the listener thread that sends the login line and receives lines,
// the worker that carries the lines out in the order they arrived, the sound
// thread, and the orderly shutdown.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "chat/net_connection.h"
#include "chat/session/chat_view.h"

namespace chatsession {

class TListenThread;
class TSoundThread;

// The support server listens on this port, whatever the login form says.
constexpr uint16_t kChatPort = 9191;

// A line as the listener receives it.
struct ReceivedLine {
    bool failed = false;  // the connection failed or closed
    std::string text;
};

class ChatSession {
public:
    ChatSession();
    // The shutdown clean-up: ends the listener, its worker and the sound
    // thread.
    ~ChatSession();
    ChatSession(const ChatSession&) = delete;
    ChatSession& operator=(const ChatSession&) = delete;

    // The windows that show the session; none until they exist.
    void setView(ChatView* view) { view_ = view; }

    // Opens a session with the server on kChatPort (the port text is carried
    // but not used) and starts its listener. On failure the error text is
    // shown in a box with the platform's default caption, then the notice
    // "Error Connecting to Server". Called on the user-interface thread.
    bool connectToServer(const std::string& host, const std::string& userName,
                         const std::string& email, const std::string& portText,
                         const std::string& systemInfoText);
    // Ends the session; with showNotice, says so (or that there was none).
    void closeSession(bool showNotice);
    // Sends one line; when nothing could be written the session ends with the
    // notice "No Session in Progress".
    void sendLine(const std::string& text);
    // For the listener: the next line on its connection. A failed or closed
    // read ends the session with the notice "Connection to server
    // terminated".
    ReceivedLine receiveLine(lumonet::NetConnection& connection);
    // Plays a sound of the suite folder (the App Paths entry "Vimstack.exe")
    // on the sound thread; a request replaces one still waiting.
    void playSound(const std::string& relativePath);

    // The chat window was shown: a new run of the windows may use sessions.
    void clearShutdown() { shutdownRequested_ = false; }
    // The user confirmed exit: ends the session and waits for the listener,
    // serving its calls onto this thread meanwhile. Called on the
    // user-interface thread.
    void shutdown();

    bool inSession() const { return inSession_; }
    bool shutdownRequested() const { return shutdownRequested_; }
    bool listenerStarted() const { return listenerStarted_; }
    bool listenerFinished() const { return listenerFinished_; }
    // The current listener, or none.
    TListenThread* listener() const { return listener_.get(); }

    // Hands a call over to the user-interface thread and waits for it; does
    // nothing without a view.
    void onView(const std::function<void(ChatView&)>& call);
    void showNotice(const std::string& text);

    // A listener starts (connectToServer) and ends (the listener itself).
    void markListenerStarted();
    void markListenerFinished() { listenerFinished_ = true; }

private:
    void destroyListener();
    lumonet::NetConnection currentConnection();

    lumonet::NetClient client_;
    std::mutex connectionLock_;
    lumonet::NetConnection connection_;
    std::atomic<ChatView*> view_{nullptr};
    std::atomic<bool> inSession_{false};
    std::atomic<bool> shutdownRequested_{false};
    std::atomic<bool> listenerStarted_{false};
    std::atomic<bool> listenerFinished_{false};
    std::unique_ptr<TListenThread> listener_;
    std::mutex soundLock_;
    std::unique_ptr<TSoundThread> sound_;
};

}  // namespace chatsession
