// Sessions against the support server (chat/server/support_server.py), which
// ctest starts around this program on the chat port of 127.0.0.1 and which
// the tests drive through its command port.
#include "chat/session/chat_session.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "chat/session/listen_thread.h"
#include "chat/session/msg_wait_thread.h"
#include "chat/session/sound_thread.h"
#include "chat/session/support_addresses.h"
#include "chat/session/tests/recording_chat_view.h"
#include "chat/tests/support/support_server_control.h"
#include "chat/winsock_session.h"
#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/waiting.h"
#include "common/ui/application.h"

using chatsession::ChatSession;
using testing_support::waitUntil;

namespace {

const char kSystemInfo[] = "UGI:6__CPU:800__ori:1000__dref:md__tdai:0__version:UnKnown";
const char kLoginLine[] =
    " /$winClient USER Alice PASS alice@example.com BLV1000 "
    "UGI:6__CPU:800__ori:1000__dref:md__tdai:0__version:UnKnown";

class Session : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::Application::initialize());
        ASSERT_TRUE(winsock.started());
        if (!server.connected()) GTEST_SKIP() << "run through support_server.py";
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            boxes.push_back(r);
            return IDOK;
        });
        session.setView(&view);
    }
    void TearDown() override {
        session.setView(nullptr);
        win::setMessageBoxHandler({});
        EXPECT_EQ(view.callsOffUiThread, 0);
    }

    // Connects as Alice and returns the server's number for this client.
    std::string connectAlice() {
        if (!session.connectToServer("127.0.0.1", "Alice", "alice@example.com", "9191",
                                     kSystemInfo) ||
            !waitUntil([&] { return session.inSession(); }))
            return std::string();
        return server.ask(":wait-client 30");
    }

    bool noticeArrives(const std::string& text, int seconds = 30) {
        return waitUntil([&] { return view.hasNotice(text); }, seconds);
    }

    lumonet::WinsockSession winsock;
    SupportServerControl server;
    RecordingChatView view;
    std::vector<win::MessageBoxRequest> boxes;
    ChatSession session;
};

TEST_F(Session, AFailedConnectShowsTheErrorAndLeavesStartChatEnabled) {
    // Nothing listens on the chat port of this address.
    ASSERT_TRUE(
        session.connectToServer("127.0.0.2", "Alice", "alice@example.com", "9191", kSystemInfo));
    EXPECT_EQ(view.caption,
              "Brisklane Support - Connecting to 127.0.0.2" + chatsession::ellipsis());
    // While it connects, another Start Chat is ignored.
    EXPECT_FALSE(
        session.connectToServer("127.0.0.2", "Alice", "alice@example.com", "9191", kSystemInfo));
    ASSERT_TRUE(waitUntil([&] { return !view.connectEnds.empty(); }));
    EXPECT_EQ(view.connectErrors,
              std::vector<std::string>{"3: failure to connect - 127.0.0.2: connection failed"});
    EXPECT_EQ(view.notices(),
              (std::vector<std::string>{"Connecting to 127.0.0.2" + chatsession::ellipsis(),
                                        "Error Connecting to Server"}));
    EXPECT_EQ(view.connectEnds, std::vector<bool>{false});
    EXPECT_TRUE(view.startChatEnabled);
    EXPECT_EQ(view.caption, "Parlewise Client - Not in Session");
    EXPECT_FALSE(session.inSession());
    EXPECT_FALSE(view.reconnecting) << "the user's own connect is not tried again";

    // Typing while not in session sends nothing.
    session.sendLine("anyone there?");
    EXPECT_EQ(view.notices().back(), "No Session in Progress");
}

TEST_F(Session, RunsFromTheLoginLineToTheLogoff) {
    const std::string client = connectAlice();
    ASSERT_FALSE(client.empty());
    EXPECT_EQ(view.caption, "Brisklane Support - Live Chat on 127.0.0.1 as Alice");
    EXPECT_EQ(view.notices(),
              (std::vector<std::string>{"Connecting to 127.0.0.1" + chatsession::ellipsis(),
                                        "Connected, ready to begin Session."}));
    EXPECT_FALSE(view.startChatEnabled);
    EXPECT_TRUE(session.inSession());
    ASSERT_EQ(server.ask(":wait-lines " + client + " 1"), "ok");
    EXPECT_EQ(server.command(":lines " + client), std::vector<std::string>{kLoginLine});

    // Fifty lines back to back arrive whole and in order, a packet without
    // text in their midst ends nothing, and the sounds wait for nothing.
    for (int i = 0; i < 50; ++i) {
        if (i == 10) server.command(":empty " + client);
        if (i == 20) server.command(":sound " + client + " admin");
        server.command(":send " + client + " line " + std::to_string(i));
    }
    ASSERT_TRUE(waitUntil([&] { return view.notices().size() >= 52; }));
    const std::vector<std::string> notices = view.notices();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(notices[2 + i], "line " + std::to_string(i));
    EXPECT_TRUE(session.inSession());

    // A chat line, and a grab request that the user allows.
    server.command(":chat " + client + " Bob Hello Alice");
    server.command(":grab " + client + " Alice Carol");
    ASSERT_TRUE(noticeArrives(" Transfering your client to Carol"));
    EXPECT_EQ(view.lines[view.lines.size() - 2].sender, "Bob");
    EXPECT_EQ(view.lines[view.lines.size() - 2].text, "Hello Alice");
    EXPECT_FALSE(view.lines[view.lines.size() - 2].notice);
    EXPECT_EQ(view.questions,
              std::vector<std::string>{"Confirm Grab|Carol  is requesting to grab Alice.  Allow?"});
    // The answer to the grab goes out after its notice is shown.
    ASSERT_EQ(server.ask(":wait-lines " + client + " 2"), "ok");
    session.sendLine("thank you");
    ASSERT_EQ(server.ask(":wait-lines " + client + " 3"), "ok");
    const std::vector<std::string> sent = server.command(":lines " + client);
    EXPECT_EQ(sent[1], " /$transfer Alice Carol");
    EXPECT_EQ(sent[2], "thank you");

    // Logoff: the session ends, then the listener's read fails on the closed
    // connection.
    session.closeSession(true);
    EXPECT_EQ(view.caption, "Parlewise Client - Not in Session");
    ASSERT_TRUE(noticeArrives("Connection to server terminated"));
    const std::vector<std::string> last = view.notices();
    EXPECT_EQ(last[last.size() - 2], "Session Ended");
    EXPECT_TRUE(waitUntil([&] { return view.startChatEnabled; }));
    EXPECT_FALSE(session.inSession());
    EXPECT_EQ(server.ask(":wait-closed " + client), "ok");

    session.closeSession(true);
    EXPECT_EQ(view.notices().back(), "No Session in Progress");
}

TEST_F(Session, ALostLinkIsTriedAgainUntilTheUserStops) {
    const std::string first = connectAlice();
    ASSERT_FALSE(first.empty());
    server.command(":close " + first);
    ASSERT_TRUE(noticeArrives("Connection to server terminated"));
    EXPECT_TRUE(view.reconnecting);
    EXPECT_EQ(view.caption.rfind("Brisklane Support - Reconnecting to 127.0.0.1", 0), 0u)
        << view.caption;

    // Back by itself, logged in as before. (The
    // tries reach the session through this thread: it waits serving them.)
    ASSERT_TRUE(waitUntil([&] { return session.inSession(); }));
    const std::string second = server.ask(":wait-client 5");
    ASSERT_NE(second, "timeout");
    ASSERT_EQ(server.ask(":wait-lines " + second + " 1"), "ok");
    EXPECT_EQ(server.command(":lines " + second), std::vector<std::string>{kLoginLine});
    ASSERT_TRUE(waitUntil([&] { return session.inSession() && !view.reconnecting; }));
    EXPECT_EQ(view.caption, "Brisklane Support - Live Chat on 127.0.0.1 as Alice");
    server.command(":send " + second + " welcome back");
    EXPECT_TRUE(noticeArrives("welcome back"));
    EXPECT_FALSE(view.startChatEnabled);

    // Lost again, and this time the user stops the tries while they wait.
    server.command(":close " + second);
    ASSERT_TRUE(waitUntil([&] { return view.reconnecting; }));
    EXPECT_TRUE(session.stopReconnecting());
    EXPECT_EQ(view.notices().back(), "Reconnecting stopped.");
    EXPECT_EQ(view.caption, "Parlewise Client - Not in Session");
    EXPECT_TRUE(view.startChatEnabled);
    EXPECT_EQ(server.ask(":wait-client 5"), "timeout");
    EXPECT_FALSE(session.inSession());
}

TEST_F(Session, AFloodingServerEndsTheSessionWithoutAReconnect) {
    const std::string client = connectAlice();
    ASSERT_FALSE(client.empty());
    // This thread serves no hand-over while it sleeps, so the lines pile up
    // behind the first one shown.
    const size_t flood = chatsession::TMsgWaitThread::maxWaiting + 100;
    server.command(":flood " + client + " " + std::to_string(flood));
    Sleep(3000);
    ASSERT_TRUE(noticeArrives(
        "The server sent more lines than the client can show; the session has ended."));
    EXPECT_EQ(server.ask(":wait-closed " + client), "ok");
    EXPECT_FALSE(session.inSession());
    EXPECT_FALSE(session.reconnecting());
    EXPECT_EQ(view.caption, "Parlewise Client - Not in Session");
    EXPECT_LE(view.notices().size(), flood);
}

TEST_F(Session, LogoffCallsOffAConnectThatWaitsForItsHello) {
    struct HeldHello {
        SupportServerControl& server;
        ~HeldHello() { server.command(":hello-delay 0"); }
    } held{server};
    server.command(":hello-delay 3");
    ASSERT_TRUE(
        session.connectToServer("127.0.0.1", "Alice", "alice@example.com", "9191", kSystemInfo));
    EXPECT_TRUE(session.connecting());
    // Long enough for the hello to be out, far from the server's answer.
    waitUntil([] { return false; }, 1);
    session.closeSession(true);
    EXPECT_EQ(view.notices().back(), "Connecting stopped.");
    EXPECT_EQ(view.connectEnds, std::vector<bool>{false});
    EXPECT_FALSE(session.connecting());
    // The server's hello comes to a connection already closed: no login.
    const std::string client = server.ask(":wait-client 15");
    ASSERT_NE(client, "timeout");
    EXPECT_EQ(server.ask(":wait-closed " + client + " 10"), "ok");
    EXPECT_TRUE(server.command(":lines " + client).empty());
    EXPECT_FALSE(session.inSession());
}

TEST_F(Session, ASoundHeldByTheDeviceDoesNotHoldTheExit) {
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> playing{false};
    auto held = std::make_unique<ChatSession>([&](const std::string&) {
        playing = true;
        WaitForSingleObject(release, 60000);
    });
    held->playSound("sounds/send.wav");
    ASSERT_TRUE(waitUntil([&] { return playing.load(); }, 10));
    const DWORD start = GetTickCount();
    held.reset();
    EXPECT_LT(GetTickCount() - start, DWORD(chatsession::TSoundThread::endWaitMs + 3000));
    // The player left behind finishes on its own, touching nothing freed.
    SetEvent(release);
    Sleep(300);
    CloseHandle(release);
}

TEST_F(Session, AnExitRightAfterTheConnectWaitsForTheListener) {
    // Before its thread has run, the listener already counts as started: the
    // exit waits for it, and its end never meets a half-destroyed listener.
    for (int i = 0; i < 10; ++i) {
        RecordingChatView view;
        ChatSession quick;
        quick.setView(&view);
        ASSERT_TRUE(
            quick.connectToServer("127.0.0.1", "Alice", "alice@example.com", "9191", kSystemInfo));
        ASSERT_TRUE(waitUntil([&] { return quick.inSession(); }));
        quick.shutdown();
        EXPECT_NE(server.ask(":wait-client 30"), "timeout");
        EXPECT_TRUE(quick.listenerFinished());
        EXPECT_EQ(quick.listener(), nullptr);
        quick.setView(nullptr);
    }
}

// Exit in the middle of a session, in a process of its own so that a hang is
// caught by the bounded wait for it.
CHILD_SCENARIO(exitDuringSession) {
    ui::Application::initialize();
    lumonet::WinsockSession winsock;
    SupportServerControl server;
    RecordingChatView view;
    {
        ChatSession session;
        session.setView(&view);
        if (!session.connectToServer("127.0.0.1", "Alice", "alice@example.com", "9191",
                                     kSystemInfo) ||
            !waitUntil([&] { return session.inSession(); }))
            ExitProcess(2);
        const std::string client = server.ask(":wait-client 30");
        server.ask(":wait-lines " + client + " 1");
        session.shutdown();
        std::printf("shut down; finished=%d; notices:", session.listenerFinished());
        for (const std::string& notice : view.notices()) std::printf(" [%s]", notice.c_str());
        std::printf("\n");
        std::fflush(stdout);
        session.setView(nullptr);
    }
    ExitProcess(0);
}

TEST_F(Session, ExitDuringASessionEndsWithoutAHang) {
    const testing_support::ChildResult child = testing_support::runChild("exitDuringSession");
    EXPECT_EQ(child.exitCode, 0u) << child.output;
    EXPECT_NE(child.output.find("ready to begin Session.] [Session Ended]"), std::string::npos)
        << child.output;
}

TEST(SupportServerAddress, TheRegistryNamesAnotherHost) {
    testing_support::ScopedSuiteValue value(win::kSuiteKey, win::kSupportServerValue);
    value.setString("");
    EXPECT_EQ(chatsession::supportServerHost(), "support.brisklane.com");
    value.setString("127.0.0.1");
    EXPECT_EQ(chatsession::supportServerHost(), "127.0.0.1");
}

}  // namespace
