// What the session engine needs from Parleclient's windows: the chat window's
// lines, caption, Submit button, taskbar flash and boxes, and the login
// form's "Start Chat" button, and how a connect goes. Every call comes on the
// user-interface thread.
#pragma once

#include <string>

namespace chatsession {

class ChatView {
public:
    virtual ~ChatView() = default;

    // A chat line from `sender`, or in the notice style (sender "Main" for
    // the session's own notices).
    virtual void showLine(const std::string& sender, const std::string& text, bool notice) = 0;
    virtual void setSessionCaption(const std::string& caption) = 0;
    virtual void setStartChatEnabled(bool enabled) = 0;
    virtual void setSubmitEnabled(bool enabled) = 0;
    // Flashes the taskbar button unless the chat window has the input focus.
    virtual void flashIfUnfocused() = 0;
    // A Yes/No question with a question-mark icon, owned by the chat window;
    // true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& caption) = 0;
    // A box with a question-mark icon and OK, owned by the chat window.
    virtual void showErrorBox(const std::string& text, const std::string& caption) = 0;
    // An instant message; how it is presented is the window's choice.
    virtual void presentInstantMessage(const std::string& sender, const std::string& text,
                                       bool alert) = 0;
    // Why the user's connect failed, in a box with the platform's caption
    // and a question-mark icon, owned by the window the user connected from.
    virtual void showConnectError(const std::string& text) = 0;
    // The user's connect has ended, one way or the other.
    virtual void connectEnded(bool connected) = 0;
    // A reconnect began or ended: the user may stop one under way.
    virtual void setReconnecting(bool reconnecting) = 0;
};

}  // namespace chatsession
