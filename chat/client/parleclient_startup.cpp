#include "chat/client/parleclient_startup.h"

#include "chat/client/chat_window.h"
#include "chat/client/login_form.h"
#include "chat/winsock_session.h"

namespace chatclient {

namespace {

// The windows of the whole run, the chat window first.
class ParleclientWindows : public ui::ProgramWindows {
public:
    explicit ParleclientWindows(chatsession::ChatSession& session)
        : chat(session), login(chat, session) {
        chat.setLoginForm(&login);
    }
    ui::Window& mainWindow() override { return chat; }

private:
    TParlewise chat;
    TForm2 login;
};

}  // namespace

int runParleclient(const MakeChatWindows& makeWindows) {
    // The socket library is started before any window and stopped after the
    // session engine has ended.
    std::unique_ptr<lumonet::WinsockSession> sockets;
    std::unique_ptr<chatsession::ChatSession> session;

    ui::ProgramSteps steps;
    steps.mutexName = "PARLEWISECLIENT";
    steps.title = "Brisklane Support - Live Chat";
    steps.prepare = [&] {
        sockets = std::make_unique<lumonet::WinsockSession>();
        session = std::make_unique<chatsession::ChatSession>();
        return 0;
    };
    steps.makeWindows = [&] { return makeWindows(*session); };
    steps.release = [&] {
        session.reset();
        sockets.reset();
    };
    return ui::runProgram(steps);
}

int runParleclient() {
    return runParleclient([](chatsession::ChatSession& session) {
        return std::unique_ptr<ui::ProgramWindows>(new ParleclientWindows(session));
    });
}

}  // namespace chatclient
