// Parleclient.exe as a person meets it: started as a process of its own,
// driven through its windows from outside, talking to the support server
// that ctest runs around this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "chat/client/client_details_file.h"
#include "chat/tests/support/support_server_control.h"
#include "chat/winsock_session.h"
#include "common/suite_registry.h"
#include "common/tests/driver/window_driver.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/program_process.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"

using namespace window_driver;

namespace {

const DWORD kAlreadyRunning = static_cast<DWORD>(-1);

// The program is built one folder above this test program.
class ParleclientProcess : public testing_support::ProgramProcess {
public:
    ParleclientProcess()
        : ProgramProcess(testing_support::ownProgramFolder() + "..\\Parleclient.exe") {}
};

std::string longText(HWND window) {
    char text[8192] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

// The support server that ctest runs around this program, the suite's
// folder of the test's own, and no details of an earlier person.
class ParleclientProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (!server.connected()) GTEST_SKIP() << "run through support_server.py";
    }

    lumonet::WinsockSession winsock;
    SupportServerControl server;
    testing_support::ScopedTestFolder suite;
    testing_support::ScopedFileAside userDetails{chatclient::clientDetailsPath()};
    testing_support::ScopedAppPathsEntry suiteEntry{win::kSuiteHostEntry, suite.path()};
    testing_support::ScopedSuiteValue host{win::kSuiteKey, win::kSupportServerValue, "127.0.0.1"};
};

TEST_F(ParleclientProgram, APersonLogsInChatsAndExits) {
    ParleclientProcess parleclient;
    ASSERT_TRUE(parleclient.started());
    // The login form comes first, over the chat window.
    HWND login = waitForWindow(parleclient.id(), "Login", 60);
    ASSERT_NE(login, nullptr);
    HWND chat = waitForWindow(parleclient.id(), "Parleclient", 5);
    ASSERT_NE(chat, nullptr);
    EXPECT_FALSE(IsWindowEnabled(chat));  // the form is modal

    // A second copy ends at once.
    ParleclientProcess second;
    EXPECT_EQ(second.exitCode(30), kAlreadyRunning);

    typeText(childOfClass(login, "Edit", 0), "Alice");
    typeText(childOfClass(login, "Edit", 1), "alice@example.com");
    pressButton(
        visibleChildWithText(login, [](const std::string& t) { return t == "Start Chat"; }));
    const std::string client = server.ask(":wait-client 60");
    ASSERT_NE(client, "timeout");
    ASSERT_EQ(server.ask(":wait-lines " + client + " 1"), "ok");
    EXPECT_EQ(server.command(":lines " + client)[0].rfind(" /$winClient USER Alice PASS ", 0), 0u);
    EXPECT_TRUE(pollUntil([&] { return !IsWindowVisible(login) && IsWindowEnabled(chat); }, 30));
    EXPECT_TRUE(pollUntil(
        [&] { return windowText(chat) == "Brisklane Support - Live Chat on 127.0.0.1 as Alice"; },
        30));

    // The conversation: a line from the support agent, and one typed back.
    // While a line is added the conversation stops drawing, which hides it
    // from a search for visible windows: it is taken when it shows.
    HWND input = writableChildOfClass(chat, "RichEdit20A");
    ASSERT_NE(input, nullptr);
    HWND conversation = nullptr;
    ASSERT_TRUE(pollUntil(
        [&] {
            conversation = childOfClass(chat, "RichEdit20A", 0);
            return conversation != nullptr && conversation != input;
        },
        30));
    server.command(":chat " + client + " Bob hi");
    EXPECT_TRUE(
        pollUntil([&] { return longText(conversation).find("Bob: hi") != std::string::npos; }, 30));
    typeText(input, "Thank you, Bob");
    pressButton(visibleChildWithText(chat, [](const std::string& t) { return t == "&Submit"; }));
    ASSERT_EQ(server.ask(":wait-lines " + client + " 2"), "ok");
    EXPECT_EQ(server.command(":lines " + client)[1], "Thank you, Bob");

    // Exit, confirmed: the session ends and the program with it.
    PostMessageA(chat, WM_CLOSE, 0, 0);
    HWND box = waitForMessageBox(parleclient.id(), 30);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(windowText(box), "Confirm Exit");
    EXPECT_EQ(messageText(box), "Are you sure you want to exit?");
    answer(box, IDYES);
    EXPECT_EQ(parleclient.exitCode(60), 0u);
    EXPECT_EQ(server.ask(":wait-closed " + client), "ok");
    // The details are remembered for the next start.
    EXPECT_TRUE(testing_support::fileExists(chatclient::clientDetailsPath()));
    EXPECT_FALSE(testing_support::fileExists(suite.path() + "settings\\clientInfo.dat"));
}

// The same way with the keyboard alone: the login form starts on the name
// box, Tab moves to the e-mail box and Enter presses Start Chat; in the chat
// Enter sends, Alt+S (the access key of "&Submit") too; Alt+F4 and Enter end.
TEST_F(ParleclientProgram, KeysAloneLogInChatAndExit) {
    ParleclientProcess parleclient;
    ASSERT_TRUE(parleclient.started());
    HWND login = waitForWindow(parleclient.id(), "Login", 60);
    ASSERT_NE(login, nullptr);
    if (activeWindowOf(login) != login) SetForegroundWindow(login);
    HWND name = childOfClass(login, "Edit", 0);
    HWND email = childOfClass(login, "Edit", 1);
    ASSERT_NE(waitForFocus(
                  login, [&](HWND f) { return f == name; }, 30),
              nullptr);
    typeKeys("Carol");
    pressKey(VK_TAB);
    ASSERT_NE(waitForFocus(
                  login, [&](HWND f) { return f == email; }, 30),
              nullptr);
    typeKeys("carol@example.com");
    pressKey(VK_RETURN);

    const std::string client = server.ask(":wait-client 60");
    ASSERT_NE(client, "timeout");
    ASSERT_EQ(server.ask(":wait-lines " + client + " 1"), "ok");
    const std::string hello = server.command(":lines " + client)[0];
    EXPECT_EQ(hello.rfind(" /$winClient USER Carol PASS carol@example.com", 0), 0u) << hello;
    HWND chat = waitForWindowWhere(
        parleclient.id(),
        [](HWND w) {
            return windowText(w).find("Live Chat on 127.0.0.1 as Carol") != std::string::npos;
        },
        30);
    ASSERT_NE(chat, nullptr);

    // The chat window is active again, with the keyboard in the input box.
    HWND input = writableChildOfClass(chat, "RichEdit20A");
    ASSERT_NE(waitForFocus(
                  chat, [&](HWND f) { return f == input; }, 30),
              nullptr);
    typeKeys("one");
    pressKey(VK_RETURN);
    ASSERT_EQ(server.ask(":wait-lines " + client + " 2"), "ok");
    EXPECT_EQ(server.command(":lines " + client)[1], "one");
    typeKeys("two");
    pressChord(VK_MENU, 'S');
    ASSERT_EQ(server.ask(":wait-lines " + client + " 3"), "ok");
    EXPECT_EQ(server.command(":lines " + client)[2], "two");

    pressChord(VK_MENU, VK_F4);
    HWND box = waitForMessageBox(parleclient.id(), 30);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(messageText(box), "Are you sure you want to exit?");
    EXPECT_EQ(GetWindow(box, GW_OWNER), chat);
    pressKey(VK_RETURN);
    EXPECT_EQ(parleclient.exitCode(60), 0u);
    EXPECT_EQ(server.ask(":wait-closed " + client), "ok");
}

// The menu items in the order the chat window makes them.
const int kStopReconnecting = 6;
const int kSaveConversation = 5;

bool answersWithin(HWND window, UINT ms) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ms, &result) != 0;
}

// A connect that the server holds, a link the server drops (twice), and what
// the user keeps of it all.
TEST_F(ParleclientProgram, AHeldConnectADroppedLinkAndASavedConversation) {
    struct HeldHello {
        SupportServerControl& server;
        ~HeldHello() { server.command(":hello-delay 0"); }
    } held{server};
    server.command(":hello-delay 10");
    ParleclientProcess parleclient;
    ASSERT_TRUE(parleclient.started());
    HWND login = waitForWindow(parleclient.id(), "Login", 60);
    ASSERT_NE(login, nullptr);
    HWND chat = waitForWindow(parleclient.id(), "Parleclient", 5);
    ASSERT_NE(chat, nullptr);
    typeText(childOfClass(login, "Edit", 0), "Dora");
    typeText(childOfClass(login, "Edit", 1), "dora@example.com");
    HWND start =
        visibleChildWithText(login, [](const std::string& t) { return t == "Start Chat"; });
    pressButton(start);

    // While the server holds its hello, both windows answer at once and say
    // what is going on; the form waits, its button disabled.
    ASSERT_TRUE(pollUntil(
        [&] { return windowText(chat).find("Connecting to 127.0.0.1") != std::string::npos; }, 5))
        << windowText(chat);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(answersWithin(chat, 1000));
        EXPECT_TRUE(answersWithin(login, 1000));
        Sleep(300);
    }
    EXPECT_TRUE(IsWindowVisible(login));
    EXPECT_FALSE(IsWindowEnabled(start));
    HWND conversation = childOfClass(chat, "RichEdit20A", 0);
    EXPECT_NE(longText(conversation).find("Connecting to 127.0.0.1"), std::string::npos);

    const std::string first = server.ask(":wait-client 30");
    ASSERT_NE(first, "timeout");
    server.command(":hello-delay 0");
    ASSERT_EQ(server.ask(":wait-lines " + first + " 1"), "ok");
    const std::string loginLine = server.command(":lines " + first)[0];
    EXPECT_TRUE(pollUntil([&] { return !IsWindowVisible(login); }, 30));
    // A link that dies in silence is probed after half a minute at most.
    const std::string keepAlive = server.ask(":keepalive " + first);
    ASSERT_EQ(keepAlive.rfind("on ", 0), 0u) << keepAlive;
    EXPECT_LE(std::stoi(keepAlive.substr(3)), 30);

    server.command(":im " + first + " Bob a private word");
    ASSERT_TRUE(pollUntil(
        [&] { return longText(conversation).find("Bob: a private word") != std::string::npos; },
        30));

    // The server drops the link: the client comes back, logged in as before.
    server.command(":close " + first);
    const std::string second = server.ask(":wait-client 30");
    ASSERT_NE(second, "timeout");
    ASSERT_EQ(server.ask(":wait-lines " + second + " 1"), "ok");
    EXPECT_EQ(server.command(":lines " + second)[0], loginLine);
    EXPECT_TRUE(pollUntil(
        [&] { return windowText(chat) == "Brisklane Support - Live Chat on 127.0.0.1 as Dora"; },
        30));

    // Dropped again; the user stops the tries, and none comes.
    server.command(":close " + second);
    ASSERT_TRUE(pollUntil(
        [&] { return windowText(chat).find("Reconnecting to 127.0.0.1") != std::string::npos; },
        30));
    chooseMenuItem(chat, kStopReconnecting);
    EXPECT_TRUE(
        pollUntil([&] { return windowText(chat) == "Parlewise Client - Not in Session"; }, 30));
    EXPECT_EQ(server.ask(":wait-client 8"), "timeout");

    // File > Save Conversation...: every line, each with its date and time.
    chooseMenuItem(chat, kSaveConversation);
    HWND dialog = waitForWindow(parleclient.id(), "Save Conversation", 30);
    ASSERT_NE(dialog, nullptr);
    HWND name = waitForFocus(
        dialog, [](HWND f) { return f != nullptr; }, 30);
    ASSERT_NE(name, nullptr);
    const std::string saved = suite.path() + "conversation.txt";
    typeText(name, saved);
    pressKey(VK_RETURN);
    ASSERT_TRUE(pollUntil([&] { return testing_support::fileExists(saved); }, 30));
    Sleep(500);
    const std::string text = testing_support::readFile(saved);
    for (const char* line : {"Bob: a private word", "Connection to server terminated",
                             "Connected, ready to begin Session.", "Reconnecting stopped."})
        EXPECT_NE(text.find(std::string("] ") + line + "\r\n"), std::string::npos) << line;
    size_t lines = 0;
    for (size_t at = 0; at < text.size(); at = text.find("\r\n", at) + 2, ++lines) {
        // "[2026-12-09 14:03:27] "
        ASSERT_GE(text.size() - at, 22u);
        EXPECT_EQ(text[at], '[');
        EXPECT_EQ(text[at + 5], '-');
        EXPECT_EQ(text.substr(at + 20, 2), "] ") << text.substr(at, 40);
        if (text.find("\r\n", at) == std::string::npos) break;
    }
    EXPECT_GE(lines, 8u);

    PostMessageA(chat, WM_CLOSE, 0, 0);
    HWND box = waitForMessageBox(parleclient.id(), 30);
    ASSERT_NE(box, nullptr);
    answer(box, IDYES);
    EXPECT_EQ(parleclient.exitCode(30), 0u);
}

}  // namespace
