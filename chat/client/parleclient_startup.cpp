#include "chat/client/parleclient_startup.h"

#include "chat/winsock_session.h"

namespace chatclient {

int runParleclient(const MakeChatWindows& makeWindows) {
    // The socket library is started before any window and stopped after the
    // session engine has ended.
    std::unique_ptr<WinsockSession> sockets;
    std::unique_ptr<chatsession::ChatSession> session;

    ui::ProgramSteps steps;
    steps.mutexName = "PARLEWISECLIENT";
    steps.title = "Brisklane Support - Live Chat";
    steps.prepare = [&] {
        sockets = std::make_unique<WinsockSession>();
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

}  // namespace chatclient
