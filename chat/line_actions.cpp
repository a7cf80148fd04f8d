#include "chat/line_actions.h"

#include <cstdlib>

namespace lumonet {

namespace {

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && isWhiteSpace(line[at])) ++at;
        const size_t start = at;
        while (at < line.size() && !isWhiteSpace(line[at])) ++at;
        if (at > start) words.push_back(line.substr(start, at - start));
    }
    return words;
}

// A decimal count; 0 for anything that is not one. Counts only bound loops
// over words that are present, so their size needs no other limit.
long long parseCount(const std::string& word) {
    if (word.empty() || word.size() > 18) return 0;
    char* end = nullptr;
    const long long n = std::strtoll(word.c_str(), &end, 10);
    return *end == '\0' ? n : 0;
}

// Only the Submit button follows the list: a line per name said nothing the
// user could use.
void talkingTo(const std::vector<std::string>& words, std::vector<Action>& actions) {
    const long long count = words.size() > 1 ? parseCount(words[1]) : 0;
    actions.push_back(Action::enableSubmit(count > 0));
}

void instantMessage(const std::string& line, bool alert, std::vector<Action>& actions) {
    std::string sender, text;
    if (!parseSenderLine(line, sender, text)) {
        actions.push_back(Action::errorBox("There was an error in processing the IM", "LumoError"));
        return;
    }
    actions.push_back(Action::presentIm(sender, text, alert));
    actions.push_back(Action::play(receiveSound));
}

void chat(const std::string& line, std::vector<Action>& actions) {
    std::string sender, text;
    if (!parseSenderLine(line, sender, text)) return;
    actions.push_back(Action::show(sender, text, false));
    actions.push_back(Action::play(receiveSound));
}

void grabRequest(const std::vector<std::string>& words, const std::string& ownName,
                 std::vector<Action>& actions) {
    // A request that does not name both sides cannot be answered sensibly.
    if (words.size() < 3) return;
    const std::string& client = words[1];
    const std::string& requester = words[2];
    Action ask;
    ask.kind = ActionKind::Ask;
    ask.caption = "Confirm Grab";
    ask.text = requester + "  is requesting to grab " + client + ".  Allow?";
    if (requester != ownName) {
        ask.onYes.push_back(Action::notice(" Transfering your client to " + requester));
        ask.onYes.push_back(Action::send(" /$transfer " + client + " " + requester));
    }
    ask.onNo.push_back(Action::send("/$grabDenyMsg " + client + " " + requester));
    actions.push_back(ask);
}

}  // namespace

Action Action::show(const std::string& sender, const std::string& text, bool notice) {
    Action a;
    a.kind = ActionKind::Show;
    a.sender = sender;
    a.text = text;
    a.flag = notice;
    return a;
}

Action Action::play(const std::string& sound) {
    Action a;
    a.kind = ActionKind::Play;
    a.text = sound;
    return a;
}

Action Action::send(const std::string& line) {
    Action a;
    a.kind = ActionKind::Send;
    a.text = line;
    return a;
}

Action Action::flash() {
    Action a;
    a.kind = ActionKind::FlashIfUnfocused;
    return a;
}

Action Action::enableSubmit(bool enabled) {
    Action a;
    a.kind = ActionKind::EnableSubmit;
    a.flag = enabled;
    return a;
}

Action Action::presentIm(const std::string& sender, const std::string& text, bool alert) {
    Action a;
    a.kind = ActionKind::PresentIm;
    a.sender = sender;
    a.text = text;
    a.flag = alert;
    return a;
}

Action Action::errorBox(const std::string& text, const std::string& caption) {
    Action a;
    a.kind = ActionKind::ErrorBox;
    a.text = text;
    a.caption = caption;
    return a;
}

bool Action::operator==(const Action& other) const {
    return kind == other.kind && sender == other.sender && text == other.text &&
           caption == other.caption && flag == other.flag && onYes == other.onYes &&
           onNo == other.onNo;
}

bool parseSenderLine(const std::string& line, std::string& sender, std::string& text) {
    const size_t dollar = line.find('$');
    if (dollar == std::string::npos) return false;
    const size_t space = line.find(' ', dollar + 1);
    if (space == std::string::npos) return false;
    const size_t colon = line.find(':', space + 1);
    if (colon == std::string::npos) return false;
    sender = line.substr(space + 1, colon - space - 1);
    // The colon and the character after it (normally a space) are skipped.
    text = colon + 2 < line.size() ? line.substr(colon + 2) : std::string();
    return true;
}

std::vector<Action> interpretLine(const std::string& line, const std::string& ownName) {
    std::vector<Action> actions;
    if (line == "/$ping") return actions;

    const std::vector<std::string> words = splitWords(line);
    if (words.empty() || words[0][0] != '/') {
        actions.push_back(Action::notice(line));
        actions.push_back(Action::play(receiveSound));
        return actions;
    }

    actions.push_back(Action::flash());
    const std::string& command = words[0];
    if (command == "/$talkingTo") {
        talkingTo(words, actions);
    } else if (command == "/$adminLogon") {
        actions.push_back(Action::play(adminLogonSound));
    } else if (command == "/$clientLogon") {
        actions.push_back(Action::play(clientLogonSound));
    } else if (command == "/$im" || command == "/$imAlert") {
        instantMessage(line, command == "/$imAlert", actions);
    } else if (command == "/$chat") {
        chat(line, actions);
    } else if (command == "/$grabRequest") {
        grabRequest(words, ownName, actions);
    }
    // "/$clientList", "/$adminList", "/$totalClients", "/$enableButton",
    // "/$disableButton" and unknown commands change nothing.
    return actions;
}

}  // namespace lumonet
