// Parleclient's start-up, in processes of their own, as the program runs it.
#include "chat/client/parleclient_startup.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <winsock2.h>

#include <cstdio>

#include "common/tests/support/child_process.h"
#include "common/ui/application.h"
#include "common/ui/window.h"

namespace {

// Whether a socket can be made: only while the socket library is started.
bool socketsWork() {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return false;
    closesocket(s);
    return true;
}

// A window whose message loop ends at once, noting what the start-up gave it.
class QuickWindows : public ui::ProgramWindows {
public:
    explicit QuickWindows(chatsession::ChatSession& session) {
        std::printf("sockets=%d title=[%s] session=%d\n", socketsWork(),
                    ui::Application::title().c_str(), !session.inSession());
        std::fflush(stdout);
        PostQuitMessage(0);
    }
    ui::Window& mainWindow() override { return window; }

private:
    ui::Window window{ui::WindowOptions()};
};

CHILD_SCENARIO(startParleclient) {
    const int code = chatclient::runParleclient(
        [](chatsession::ChatSession& session) { return std::make_unique<QuickWindows>(session); });
    std::printf("exit=%d after=%d\n", code, socketsWork());
    std::fflush(stdout);
}

TEST(ParleclientStartup, RunsTheWindowsAndASecondCopyEndsWithMinusOne) {
    testing_support::ChildResult child = testing_support::runChild("startParleclient");
    EXPECT_NE(child.output.find("sockets=1 title=[Brisklane Support - Live Chat] session=1"),
              std::string::npos)
        << child.output;
    EXPECT_NE(child.output.find("exit=0 after=0"), std::string::npos) << child.output;

    // While a copy runs, a second ends at once, silently, before any window.
    HANDLE first = CreateMutexA(nullptr, FALSE, "PARLEWISECLIENT");
    ASSERT_NE(first, nullptr);
    child = testing_support::runChild("startParleclient");
    CloseHandle(first);
    EXPECT_EQ(child.output.find("sockets="), std::string::npos) << child.output;
    EXPECT_NE(child.output.find("exit=-1 after=0"), std::string::npos) << child.output;
}

}  // namespace
