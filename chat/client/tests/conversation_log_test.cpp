#include "chat/client/conversation_log.h"

#include <gtest/gtest.h>

using namespace chatclient;

TEST(ConversationLog, EveryLineOfTheFileStartsWithItsTime) {
    const LineTime morning{2026, 12, 9, 9, 5, 7};
    const LineTime later{2026, 12, 9, 14, 3, 27};
    EXPECT_EQ(conversationText({{morning, "Connected, ready to begin Session."},
                                {later, "Bob: two\r\nlines"},
                                {later, "a\rb\nc"},
                                {later, ""}}),
              "[2026-12-09 09:05:07] Connected, ready to begin Session.\r\n"
              "[2026-12-09 14:03:27] Bob: two\r\n"
              "[2026-12-09 14:03:27] lines\r\n"
              "[2026-12-09 14:03:27] a\r\n"
              "[2026-12-09 14:03:27] b\r\n"
              "[2026-12-09 14:03:27] c\r\n"
              "[2026-12-09 14:03:27] \r\n");
    EXPECT_EQ(conversationText({}), "");
    EXPECT_EQ(conversationFileName(later), "Conversation 2026-12-09.txt");
}
