// The conversation as the user saves it: a text file with the date and time
// of every line.
#pragma once

#include <string>
#include <vector>

namespace chatclient {

struct LineTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// One line as the conversation showed it, without the time-stamp prefix.
struct ConversationLine {
    LineTime time;
    std::string text;
};

// One text line per line of the conversation, "[2026-12-09 14:03:27] Bob: hi",
// each ended by CR LF. A line with line breaks of its own gives each of its
// parts the same time, so that every line of the file starts with one.
std::string conversationText(const std::vector<ConversationLine>& lines);

// The name the save dialog suggests: "Conversation 2026-12-09.txt".
std::string conversationFileName(const LineTime& day);

}  // namespace chatclient
