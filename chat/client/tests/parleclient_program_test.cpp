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

TEST(ParleclientProgram, APersonLogsInChatsAndExits) {
    lumonet::WinsockSession winsock;
    SupportServerControl server;
    if (!server.connected()) GTEST_SKIP() << "run through support_server.py";
    testing_support::ScopedTestFolder suite;
    testing_support::ScopedFileAside userDetails(chatclient::clientDetailsPath());
    testing_support::ScopedAppPathsEntry suiteEntry(win::kSuiteHostEntry, suite.path());
    testing_support::ScopedSuiteValue host(win::kSuiteKey, win::kSupportServerValue, "127.0.0.1");

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

}  // namespace
