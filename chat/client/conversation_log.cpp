#include "chat/client/conversation_log.h"

#include <cstdio>

namespace chatclient {

namespace {

std::string stamp(const LineTime& t) {
    char text[40];
    std::snprintf(text, sizeof text, "[%04d-%02d-%02d %02d:%02d:%02d] ", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return text;
}

}  // namespace

std::string conversationText(const std::vector<ConversationLine>& lines) {
    std::string out;
    for (const ConversationLine& line : lines) {
        const std::string prefix = stamp(line.time);
        out += prefix;
        for (size_t i = 0; i < line.text.size(); ++i) {
            const char c = line.text[i];
            if (c != '\r' && c != '\n') {
                out += c;
                continue;
            }
            // CR LF, a lone CR and a lone LF each end one part.
            if (c == '\r' && i + 1 < line.text.size() && line.text[i + 1] == '\n') ++i;
            out += "\r\n" + prefix;
        }
        out += "\r\n";
    }
    return out;
}

std::string conversationFileName(const LineTime& day) {
    char name[48];
    std::snprintf(name, sizeof name, "Conversation %04d-%02d-%02d.txt", day.year, day.month,
                  day.day);
    return name;
}

}  // namespace chatclient
