// What the chat client does with a line from the server. The interpretation
// is a pure function from the line to a list of actions, carried out in order
// by the chat window; a question carries the actions for each answer.
#pragma once

#include <string>
#include <vector>

namespace lumonet {

enum class ActionKind {
    Show,              // sender, text; flag: notice style (else a chat line)
    Play,              // text: sound file relative to the suite folder
    Send,              // text: line to send to the server
    FlashIfUnfocused,  // flash the taskbar button unless the chat window has the focus
    EnableSubmit,      // flag: enabled
    PresentIm,         // sender, text; flag: the alert variant
    ErrorBox,          // text, caption: question-mark icon and an OK button
    Ask,               // text, caption: Yes/No with a question-mark icon
};

struct Action {
    ActionKind kind = ActionKind::Show;
    std::string sender;
    std::string text;
    std::string caption;
    bool flag = false;
    std::vector<Action> onYes;  // Ask only
    std::vector<Action> onNo;   // Ask only

    static Action show(const std::string& sender, const std::string& text, bool notice);
    static Action notice(const std::string& text) { return show(mainSender, text, true); }
    static Action play(const std::string& sound);
    static Action send(const std::string& line);
    static Action flash();
    static Action enableSubmit(bool enabled);
    static Action presentIm(const std::string& sender, const std::string& text, bool alert);
    static Action errorBox(const std::string& text, const std::string& caption);

    bool operator==(const Action& other) const;

    static constexpr const char* mainSender = "Main";
};

// The taskbar flash: FLASHW_ALL | FLASHW_TIMERNOFG, until the window comes to
// the foreground, at this interval.
constexpr unsigned flashFlags = 15;
constexpr unsigned flashCount = 0;
constexpr unsigned flashIntervalMs = 425;

constexpr char receiveSound[] = "sounds/receive.wav";
constexpr char adminLogonSound[] = "sounds/adminLogon.wav";
constexpr char clientLogonSound[] = "sounds/clientLogon.wav";

// Splits "/$chat Alice: hello there" into the sender "Alice" and the text
// "hello there": the sender runs from the first space after the first "$" to
// the first colon after that space, the text from the second character after
// the colon. False when the space or the colon is missing.
bool parseSenderLine(const std::string& line, std::string& sender, std::string& text);

// Everything that must happen for one received line. `ownName` is the user's
// name, which decides the answer to a grab request.
std::vector<Action> interpretLine(const std::string& line, const std::string& ownName);

}  // namespace lumonet
