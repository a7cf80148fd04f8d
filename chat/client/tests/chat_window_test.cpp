// The chat window and the login form inside the test program, with a real
// session against the support server that ctest runs around it.
#include "chat/client/chat_window.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chat/client/client_details_file.h"
#include "chat/client/login_form.h"
#include "chat/tests/support/support_server_control.h"
#include "chat/winsock_session.h"
#include "common/file_contents.h"
#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/scoped_registry_value.h"
#include "common/tests/support/suite_value.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/waiting.h"
#include "common/ui/application.h"

using namespace chatclient;
using testing_support::waitUntil;

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

std::string hex(const std::string& bytes) {
    std::string out;
    char pair[3];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        out += pair;
    }
    return out;
}

// "[HH:MM:SS] " and the text.
bool isStamped(const std::string& line, const std::string& text) {
    if (line.size() != 11 + text.size() || line.compare(11, std::string::npos, text) != 0)
        return false;
    const std::string stamp = line.substr(0, 11);
    for (size_t i : {1u, 2u, 4u, 5u, 7u, 8u})
        if (stamp[i] < '0' || stamp[i] > '9') return false;
    return stamp[0] == '[' && stamp[3] == ':' && stamp[6] == ':' && stamp[9] == ']' &&
           stamp[10] == ' ';
}

class ChatClient : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::Application::initialize());
        if (!server.connected()) GTEST_SKIP() << "run through support_server.py";
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            boxes.push_back(r);
            return answer;
        });
    }
    void TearDown() override { win::setMessageBoxHandler({}); }

    // The user's own details file, which the logins here write.
    testing_support::ScopedFileAside userDetails{clientDetailsPath()};

    // Logs in through the form; the server's number for the client.
    std::string logIn(const std::string& name) {
        login.Edit1.setText(name);
        login.Edit2.setText("alice@example.com");
        login.Button1Click();
        // The connect reaches the window through this thread: it waits
        // serving it before it asks the server.
        if (!waitUntil([&] { return session.inSession(); })) return "timeout";
        return server.ask(":wait-client 5");
    }

    // The conversation's lines and where each starts.
    std::vector<std::string> conversation(std::vector<int>* starts = nullptr) {
        std::vector<std::string> lines(1);
        if (starts) starts->assign(1, 0);
        const std::string text = chat.chatArea.plainText();
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r') {
                lines.emplace_back();
                if (starts) starts->push_back(static_cast<int>(i + 1));
            } else if (text[i] != '\n') {
                lines.back() += text[i];
            }
        }
        return lines;
    }
    bool lineArrives(const std::string& line) {
        return waitUntil([&] {
            for (const std::string& l : conversation())
                if (l == line) return true;
            return false;
        });
    }
    std::vector<std::string> sentBy(const std::string& client) {
        return server.command(":lines " + client);
    }

    lumonet::WinsockSession winsock;
    SupportServerControl server;
    testing_support::ScopedTestFolder suite;
    testing_support::ScopedAppPathsEntry suiteEntry{win::kSuiteHostEntry, suite.path()};
    testing_support::ScopedSuiteValue host{win::kSuiteKey, win::kSupportServerValue, "127.0.0.1"};
    std::vector<win::MessageBoxRequest> boxes;
    int answer = IDOK;
    chatsession::ChatSession session;
    TParlewise chat{session};
    TForm2 login{chat, session};
};

TEST_F(ChatClient, TheLoginFormChecksNameAndAddress) {
    chat.setLoginForm(&login);
    const struct {
        const char* name;
        const char* email;
        const char* text;
        const char* caption;
    } refused[] = {
        {"7eleven", "a@b.c", "Invalid name.\n\nYour username must start with a letter.",
         "Name Error"},
        {"", "a@b.c", "Invalid name.\n\nYour username must start with a letter.", "Name Error"},
        {"John Doe", "a@b.c", "Invalid name.\n\nYour username cannot contain a space.",
         "Name Error"},
        {"jo-hn", "a@b.c", "Invalid name.\n\nYour username contains invalid characters.",
         "Name Error"},
        {"Alice", "alice.example.com", "You Must Enter a Valid E-Mail Address.", "E-Mail Error"},
        {"Alice", "@alice.example", "You Must Enter a Valid E-Mail Address.", "E-Mail Error"},
    };
    for (const auto& c : refused) {
        boxes.clear();
        login.Edit1.setText(c.name);
        login.Edit2.setText(c.email);
        login.Button1Click();
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, c.caption);
        EXPECT_EQ(boxes[0].owner, login.handle());
        EXPECT_EQ(boxes[0].flags, UINT(MB_OK | MB_ICONQUESTION));
    }
    EXPECT_FALSE(session.inSession());
    EXPECT_FALSE(testing_support::fileExists(clientDetailsPath()));
}

TEST_F(ChatClient, AFailedConnectIsToldOverTheLoginFormWhichThenCloses) {
    // Nothing listens on the chat port of this address.
    testing_support::ScopedSuiteValue elsewhere{win::kSuiteKey, win::kSupportServerValue,
                                                "127.0.0.2"};
    chat.setLoginForm(&login);
    login.show();
    login.Edit1.setText("Alice");
    login.Edit2.setText("alice@example.com");
    login.Button1Click();
    EXPECT_FALSE(login.Button1.enabled());
    login.Button1Click();  // ignored while the connect goes on
    ASSERT_TRUE(waitUntil([&] { return !login.visible(); }));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "3: failure to connect - 127.0.0.2: connection failed");
    EXPECT_EQ(boxes[0].owner, login.handle());
    EXPECT_TRUE(boxes[0].defaultCaption);
    EXPECT_TRUE(login.Button1.enabled());
    EXPECT_EQ(chat.caption(), "Parlewise Client - Not in Session");
    EXPECT_EQ(conversation().back(), "Error Connecting to Server");
}

TEST_F(ChatClient, StartChatRemembersTheDetailsAndConnects) {
    chat.setLoginForm(&login);
    const std::string longName(40, 'a');
    const std::string client = logIn(longName);
    ASSERT_NE(client, "timeout");
    // Sent and shown cut to 29 characters; remembered whole.
    const std::string cut = longName.substr(0, 29);
    ASSERT_EQ(server.ask(":wait-lines " + client + " 1"), "ok");
    EXPECT_THAT(sentBy(client)[0], ::testing::StartsWith(" /$winClient USER " + cut +
                                                         " PASS alice@example.com "
                                                         "BLV1000 UGI:"));
    EXPECT_EQ(chat.caption(), "Brisklane Support - Live Chat on 127.0.0.1 as " + cut);
    EXPECT_EQ(chat.ownName(), cut);
    EXPECT_FALSE(login.Button1.enabled());
    std::string file;
    ASSERT_TRUE(win::readFileBytes(clientDetailsPath(), 1024, file));
    EXPECT_EQ(server.ask(":details " + hex(file)),
              longName + " alice@example.com 127.0.0.1 9191 1 1 ");

    // The next showing of a form fills its boxes from the file.
    TForm2 again(chat, session);
    again.loadClientDetails();
    EXPECT_EQ(again.Edit1.text(), longName);
    EXPECT_EQ(again.Edit2.text(), "alice@example.com");
}

// The details of an earlier version, in the suite folder, fill the boxes
// while the user has no file of the new kind; saving writes the user's file
// and leaves the old one as it was.
TEST_F(ChatClient, DetailsMoveFromTheSuiteFolderToTheUsersFolder) {
    testing_support::ScopedTestFolder suite;
    testing_support::ScopedAppPathsEntry suiteEntry{win::kSuiteHostEntry, suite.path()};
    const std::string old = suiteFolderClientDetailsPath();
    ASSERT_EQ(old, suite.path() + "settings\\clientInfo.dat");
    ASSERT_NE(clientDetailsPath(), old);
    CreateDirectoryA((suite.path() + "settings").c_str(), nullptr);
    ClientDetails earlier;
    earlier.name = "Olga";
    earlier.email = "olga@example.com";
    earlier.server = "support.example.com";
    earlier.port = "9191";
    const std::string oldBytes = encodeClientDetails(earlier);
    testing_support::writeFile(old, oldBytes);

    TForm2 form(chat, session);
    form.loadClientDetails();
    EXPECT_EQ(form.Edit1.text(), "Olga");
    EXPECT_EQ(form.Edit2.text(), "olga@example.com");

    ASSERT_TRUE(saveClientDetailsFile(
        ClientDetails{"Olivia", "olga@example.com", "support.example.com", "9191"}));
    TForm2 later(chat, session);
    later.loadClientDetails();
    EXPECT_EQ(later.Edit1.text(), "Olivia") << "the user's file is read first";
    EXPECT_EQ(testing_support::readFile(old), oldBytes);

    // Logoff, and the listener's end enables "Start Chat" again.
    chat.Logoff1_oldClick();
    EXPECT_TRUE(waitUntil([&] { return login.Button1.enabled(); }));
}

TEST_F(ChatClient, TheConversationInItsColoursWithTimeStamps) {
    chat.setLoginForm(&login);
    const std::string client = logIn("Alice");
    ASSERT_NE(client, "timeout");
    ASSERT_EQ(server.ask(":wait-lines " + client + " 1"), "ok");

    server.command(":chat " + client + " Bob hi");
    ASSERT_TRUE(lineArrives("Bob: hi"));
    std::vector<int> starts;
    std::vector<std::string> lines = conversation(&starts);
    EXPECT_EQ(lines[0], "Connecting to 127.0.0.1" + chatsession::ellipsis());
    EXPECT_EQ(lines[1], "Connected, ready to begin Session.");
    EXPECT_EQ(chat.chatArea.colourAt(starts[1]), kRed);
    EXPECT_EQ(chat.chatArea.colourAt(starts[2]), kRed);

    // Instant messages, with their senders.
    server.command(":im " + client + " Bob a word");
    server.command(":imalert " + client + " Carol urgent");
    EXPECT_TRUE(lineArrives("Bob: a word"));
    EXPECT_TRUE(lineArrives("Carol: urgent"));

    // The user's line: blue, sent exactly as typed, cut at 1023 characters.
    chat.chatInput.setText(std::string(2000, 'x'));
    chat.SubmitClick();
    ASSERT_EQ(server.ask(":wait-lines " + client + " 2"), "ok");
    EXPECT_EQ(sentBy(client)[1], std::string(1023, 'x'));
    lines = conversation(&starts);
    EXPECT_EQ(lines.back(), "Alice: " + std::string(1023, 'x'));
    EXPECT_EQ(chat.chatArea.colourAt(starts.back()), kBlue);
    EXPECT_EQ(chat.chatInput.text(), "");

    // With "TimeStamp" checked, lines start with the time.
    chat.timeStampClick();
    server.command(":notice " + client + " stamped");
    ASSERT_TRUE(
        waitUntil([&] { return conversation().back().find("stamped") != std::string::npos; }));
    EXPECT_TRUE(isStamped(conversation().back(), "stamped")) << conversation().back();
    chat.timeStampClick();
    server.command(":notice " + client + " plain");
    EXPECT_TRUE(lineArrives("plain"));
}

TEST_F(ChatClient, EnterSendsTheLineWithoutALineBreak) {
    chat.show();
    ui::Application::processMessages();  // no login form: none is set
    chat.setLoginForm(&login);
    const std::string client = logIn("Alice");
    ASSERT_NE(client, "timeout");
    ASSERT_EQ(server.ask(":wait-lines " + client + " 1"), "ok");
    const size_t shown = conversation().size();

    // The keys as the keyboard sends them, through the message loop: the
    // key-down (where the control would make its line break), the character
    // that translating it gives, the key-up.
    const auto pressEnter = [&] {
        chat.chatInput.setFocus();
        PostMessageA(chat.chatInput.handle(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        PostMessageA(chat.chatInput.handle(), WM_KEYUP, VK_RETURN, 0xC01C0001);
        for (int i = 0; i < 20; ++i) {
            ui::Application::processMessages();
            Sleep(5);
        }
    };
    chat.chatInput.setText("typed");
    pressEnter();
    ASSERT_EQ(server.ask(":wait-lines " + client + " 2"), "ok");
    EXPECT_EQ(sentBy(client)[1], "typed");
    EXPECT_EQ(chat.chatInput.text(), "");
    EXPECT_EQ(conversation().size(), shown + 1);

    // Enter in an empty box sends nothing and adds no line.
    pressEnter();
    EXPECT_EQ(chat.chatInput.text(), "");
    EXPECT_EQ(conversation().size(), shown + 1);
    EXPECT_EQ(sentBy(client).size(), 2u);

    // While "/$talkingTo 0" holds Submit, Enter sends nothing either.
    server.command(":talking " + client);
    ASSERT_TRUE(waitUntil([&] { return !chat.Submit.enabled(); }));
    chat.chatInput.setText("held");
    pressEnter();
    EXPECT_EQ(chat.chatInput.text(), "held");
    EXPECT_EQ(conversation().size(), shown + 1) << "and no \"$refresh\" line";

    // A reader scrolled up stays where he reads; at the end, a notice comes
    // into view as a chat line does.
    for (int i = 0; i < 60; ++i)
        server.command(":notice " + client + " filler " + std::to_string(i));
    ASSERT_TRUE(lineArrives("filler 59"));
    EXPECT_TRUE(chat.chatArea.scrolledToEnd());
    SendMessageA(chat.chatArea.handle(), WM_VSCROLL, SB_TOP, 0);
    server.command(":chat " + client + " Bob while reading");
    ASSERT_TRUE(lineArrives("Bob: while reading"));
    EXPECT_EQ(chat.chatArea.firstVisibleLine(), 0);
    chat.chatArea.scrollToEnd();
    server.command(":notice " + client + " at the end");
    ASSERT_TRUE(lineArrives("at the end"));
    EXPECT_TRUE(chat.chatArea.scrolledToEnd());
    chat.hide();
}

TEST_F(ChatClient, ExitAsksAndNoLeavesTheSession) {
    chat.setLoginForm(&login);
    ASSERT_NE(logIn("Alice"), "timeout");
    boxes.clear();
    answer = IDNO;
    EXPECT_FALSE(chat.close());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Are you sure you want to exit?");
    EXPECT_EQ(boxes[0].caption, "Confirm Exit");
    EXPECT_EQ(boxes[0].flags, UINT(MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(session.inSession());

    answer = IDYES;
    EXPECT_TRUE(chat.close());
    EXPECT_FALSE(session.inSession());
    EXPECT_TRUE(session.listenerFinished());
    EXPECT_THAT(conversation(), ::testing::Contains("Session Ended"));
}

TEST_F(ChatClient, TheTitleAndTheScreenFixTheSize) {
    EXPECT_EQ(chatClientHeight(768), 512);
    const int height = chatClientHeight(ui::Application::screenHeight());
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(chat.clientWidth(), 404 + 101);
        EXPECT_EQ(chat.clientHeight(), height);
        EXPECT_EQ(chat.Label2.left(), 505 / 2 - 404 / 2);
        EXPECT_EQ(chat.Submit.top(), height - 25 - 10);
        EXPECT_EQ(chat.chatInput.top(), chat.Submit.top() - chat.chatInput.height() - 10);
        EXPECT_EQ(chat.chatInput.width(), 490);
        EXPECT_EQ(chat.chatArea.width(), 490);
        EXPECT_EQ(chat.chatArea.height(), chat.chatInput.top() - 50);
        // A resize by the user is undone.
        chat.setClientSize(300, 300);
    }

    // Minimised, the window stays so, and comes back at its size.
    chat.show();
    ShowWindow(chat.handle(), SW_MINIMIZE);
    ui::Application::processMessages();
    EXPECT_TRUE(IsIconic(chat.handle()));
    ShowWindow(chat.handle(), SW_RESTORE);
    ui::Application::processMessages();
    EXPECT_EQ(chat.clientWidth(), 404 + 101);
    EXPECT_EQ(chat.clientHeight(), height);
    chat.hide();
}

}  // namespace
