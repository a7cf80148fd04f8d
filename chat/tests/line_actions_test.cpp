#include "chat/line_actions.h"

#include <gtest/gtest.h>

using namespace lumonet;

namespace {

using Actions = std::vector<Action>;

const char me[] = "Alice";

Actions interpret(const std::string& line) {
    return interpretLine(line, me);
}

TEST(LineActions, PingIsConsumedWithoutAFlash) {
    EXPECT_TRUE(interpret("/$ping").empty());
    // Anything more is another command, which flashes and does nothing else.
    EXPECT_EQ(interpret("/$ping now"), Actions{Action::flash()});
}

TEST(LineActions, PlainTextIsANoticeFromMain) {
    EXPECT_EQ(
        interpret("Welcome to support"),
        (Actions{Action::show("Main", "Welcome to support", true), Action::play(receiveSound)}));
    EXPECT_EQ(interpret("   "), (Actions{Action::notice("   "), Action::play(receiveSound)}))
        << "white space alone is shown whole";
    EXPECT_EQ(interpret("$chat Bob: hi"),
              (Actions{Action::notice("$chat Bob: hi"), Action::play(receiveSound)}));
}

TEST(LineActions, ChatLines) {
    EXPECT_EQ(interpret("/$chat Alice: hello there"),
              (Actions{Action::flash(), Action::show("Alice", "hello there", false),
                       Action::play(receiveSound)}));
    // The character after the colon is always skipped.
    EXPECT_EQ(interpret("/$chat Bob:hi"), (Actions{Action::flash(), Action::show("Bob", "i", false),
                                                   Action::play(receiveSound)}));
    EXPECT_EQ(interpret("/$chat Bob:"), (Actions{Action::flash(), Action::show("Bob", "", false),
                                                 Action::play(receiveSound)}));
    // Without a space or a colon there is nothing to show.
    EXPECT_EQ(interpret("/$chat"), Actions{Action::flash()});
    EXPECT_EQ(interpret("/$chat Bob says hi"), Actions{Action::flash()});
    EXPECT_EQ(
        interpret("  /$chat  Bob: x"),
        (Actions{Action::flash(), Action::show(" Bob", "x", false), Action::play(receiveSound)}))
        << "the sender runs from the first space after the $";
}

TEST(LineActions, InstantMessagesAreParsedAndHandedOn) {
    EXPECT_EQ(interpret("/$im Carol: are you there?"),
              (Actions{Action::flash(), Action::presentIm("Carol", "are you there?", false),
                       Action::play(receiveSound)}));
    EXPECT_EQ(interpret("/$imAlert Carol: urgent"),
              (Actions{Action::flash(), Action::presentIm("Carol", "urgent", true),
                       Action::play(receiveSound)}));
    const Actions broken{Action::flash(),
                         Action::errorBox("There was an error in processing the IM", "LumoError")};
    EXPECT_EQ(interpret("/$im Carol"), broken);
    EXPECT_EQ(interpret("/$imAlert"), broken);
}

TEST(LineActions, ListsAndButtonsChangeNothing) {
    for (const char* line :
         {"/$clientList 2 bob carol", "/$adminList 1 dave", "/$totalClients 0", "/$enableButton",
          "/$disableButton", "/$unknown x", "/me waves", "/$CHAT Bob: hi"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(interpret(line), Actions{Action::flash()});
    }
}

TEST(LineActions, LogonSounds) {
    EXPECT_EQ(interpret("/$adminLogon"),
              (Actions{Action::flash(), Action::play("sounds/adminLogon.wav")}));
    EXPECT_EQ(interpret("/$clientLogon"),
              (Actions{Action::flash(), Action::play("sounds/clientLogon.wav")}));
}

TEST(LineActions, TalkingToSwitchesSubmitAndShowsNothing) {
    EXPECT_EQ(interpret("/$talkingTo 2 bob carol"),
              (Actions{Action::flash(), Action::enableSubmit(true)}));
    EXPECT_EQ(interpret("/$talkingTo 0"), (Actions{Action::flash(), Action::enableSubmit(false)}));
    EXPECT_EQ(interpret("/$talkingTo"), (Actions{Action::flash(), Action::enableSubmit(false)}));
    EXPECT_EQ(interpret("/$talkingTo -4 bob"),
              (Actions{Action::flash(), Action::enableSubmit(false)}));
    EXPECT_EQ(interpret("/$talkingTo many bob"),
              (Actions{Action::flash(), Action::enableSubmit(false)}));
    EXPECT_EQ(interpret("/$talkingTo 4000000000 bob"),
              (Actions{Action::flash(), Action::enableSubmit(true)}));
    EXPECT_EQ(interpret("/$talkingTo 99999999999999999999999 bob"),
              (Actions{Action::flash(), Action::enableSubmit(false)}));
}

TEST(LineActions, GrabRequestAsksAndAnswers) {
    const Actions actions = interpret("/$grabRequest Alice Zed");
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0], Action::flash());
    const Action& ask = actions[1];
    EXPECT_EQ(ask.kind, ActionKind::Ask);
    EXPECT_EQ(ask.caption, "Confirm Grab");
    EXPECT_EQ(ask.text, "Zed  is requesting to grab Alice.  Allow?");
    EXPECT_EQ(ask.onYes, (Actions{Action::notice(" Transfering your client to Zed"),
                                  Action::send(" /$transfer Alice Zed")}));
    EXPECT_EQ(ask.onNo, Actions{Action::send("/$grabDenyMsg Alice Zed")});
}

TEST(LineActions, GrabRequestByTheUserHimselfIsNotTransferred) {
    const Actions actions = interpret("/$grabRequest Bob Alice");
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_TRUE(actions[1].onYes.empty());
    EXPECT_EQ(actions[1].onNo, Actions{Action::send("/$grabDenyMsg Bob Alice")});
}

TEST(LineActions, IncompleteGrabRequestIsIgnored) {
    EXPECT_EQ(interpret("/$grabRequest Bob"), Actions{Action::flash()});
    EXPECT_EQ(interpret("/$grabRequest"), Actions{Action::flash()});
}

}  // namespace
