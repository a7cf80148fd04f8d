// Parleclient's main window: the conversation, the input box with its Submit
// button, and the menus that log in and off, exit, switch the time stamps and
// open the support web page. It is the session engine's view: every line of
// the conversation goes through showLine.
#pragma once

#include <string>
#include <vector>

#include "chat/client/conversation_log.h"
#include "chat/session/chat_session.h"
#include "chat/session/chat_view.h"
#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/menu_bar.h"
#include "common/ui/rich_text.h"
#include "common/ui/window.h"

namespace chatclient {

class TForm2;

// The time stamp that starts a line while "TimeStamp" is checked:
// "[HH:MM:SS] " in 24-hour local time.
std::string timeStampPrefix(int hour, int minute, int second);

// The client height the resize rule gives on a screen of this height.
int chatClientHeight(int screenHeight);

// The most characters of the input box that one line sends.
constexpr size_t kLongestLine = 1023;

class TParlewise : public ui::Window, public chatsession::ChatView {
public:
    explicit TParlewise(chatsession::ChatSession& session);
    ~TParlewise() override;

    // The login form, which this window shows whenever it is shown.
    void setLoginForm(TForm2* form) { loginForm = form; }

    void setUserName(const std::string& name) { userName = name; }
    const std::string& ownName() const { return userName; }
    void setServer(const std::string& host) { server = host; }
    void setEmail(const std::string& address) { email = address; }

    // ChatView: the session's calls, on this thread.
    void showLine(const std::string& sender, const std::string& text, bool notice) override;
    void setSessionCaption(const std::string& caption) override { setCaption(caption); }
    void setStartChatEnabled(bool enabled) override;
    void setSubmitEnabled(bool enabled) override { Submit.setEnabled(enabled); }
    void flashIfUnfocused() override;
    bool askYesNo(const std::string& text, const std::string& caption) override;
    void showErrorBox(const std::string& text, const std::string& caption) override;
    void presentInstantMessage(const std::string& sender, const std::string& text,
                               bool alert) override;
    void showConnectError(const std::string& text) override;
    void connectEnded(bool connected) override;
    void setReconnecting(bool reconnecting) override;

    // The lines shown so far, with their times, as "Save Conversation…"
    // writes them.
    const std::vector<ConversationLine>& conversation() const { return lines; }
    // Writes the conversation to the file; false when it could not.
    bool saveConversation(const std::wstring& path) const;

    void FormShow();
    bool FormCloseQuery();
    void FormResize();
    void SubmitClick();
    bool chatInputKeyDown(unsigned virtualKey);
    void Close1_oldClick();        // File, Login
    void Logoff1_oldClick();       // File, Logoff
    void CustomItem1Click();       // File, Exit
    void timeStampClick();         // Options, TimeStamp
    void CustomItem6Click();       // Help, Visit Support
    void saveConversationClick();  // File, Save Conversation…
    void stopReconnectingClick();  // File, Stop Reconnecting

    ui::Label& Label2;
    ui::RichText& chatArea;
    ui::RichText& chatInput;
    ui::Button& Submit;
    ui::MenuItem* CustomItem8 = nullptr;  // "TimeStamp"
    ui::MenuItem* stopReconnectingItem = nullptr;

private:
    std::string prefix() const;
    // Adds a line to the conversation and to its record; a line of the
    // user's own always brings the end into view, others only when the
    // reader is there.
    void appendLine(const std::string& text, COLORREF colour, bool ownLine = false);

    chatsession::ChatSession& session;
    TForm2* loginForm = nullptr;
    std::string userName;
    std::string server;
    std::string email;
    bool conversationEmpty = true;
    std::vector<ConversationLine> lines;
    bool resizing = false;
};

}  // namespace chatclient
