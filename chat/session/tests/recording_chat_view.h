// A chat view that records what the session shows, and counts the calls that
// did not come on the user-interface thread.
#pragma once

#include <string>
#include <vector>

#include "chat/session/chat_view.h"
#include "common/ui/application.h"

class RecordingChatView : public chatsession::ChatView {
public:
    struct Line {
        std::string sender;
        std::string text;
        bool notice;
    };

    void showLine(const std::string& sender, const std::string& text, bool notice) override {
        note();
        lines.push_back({sender, text, notice});
    }
    void setSessionCaption(const std::string& text) override {
        note();
        caption = text;
    }
    void setStartChatEnabled(bool enabled) override {
        note();
        startChatEnabled = enabled;
        if (!enabled) ++startChatDisabled;
    }
    void setSubmitEnabled(bool enabled) override {
        note();
        submitEnabled = enabled;
    }
    void flashIfUnfocused() override {
        note();
        ++flashes;
    }
    bool askYesNo(const std::string& text, const std::string& caption) override {
        note();
        questions.push_back(caption + "|" + text);
        return answerYes;
    }
    void showErrorBox(const std::string& text, const std::string& caption) override {
        note();
        errors.push_back(caption + "|" + text);
    }
    void presentInstantMessage(const std::string& sender, const std::string& text,
                               bool alert) override {
        note();
        instantMessages.push_back(sender + "|" + text + (alert ? "|alert" : ""));
    }

    void showConnectError(const std::string& text) override {
        note();
        connectErrors.push_back(text);
    }
    void connectEnded(bool connected) override {
        note();
        connectEnds.push_back(connected);
    }
    void setReconnecting(bool on) override {
        note();
        reconnecting = on;
    }

    // The texts of the notices from "Main", in order.
    std::vector<std::string> notices() const {
        std::vector<std::string> texts;
        for (const Line& line : lines)
            if (line.notice && line.sender == "Main") texts.push_back(line.text);
        return texts;
    }
    bool hasNotice(const std::string& text) const {
        for (const std::string& t : notices())
            if (t == text) return true;
        return false;
    }

    std::vector<Line> lines;
    std::string caption = "Parlewise Client - Not in Session";
    bool startChatEnabled = true;
    int startChatDisabled = 0;
    bool submitEnabled = true;
    int flashes = 0;
    bool answerYes = true;
    std::vector<std::string> questions;
    std::vector<std::string> errors;
    std::vector<std::string> instantMessages;
    std::vector<std::string> connectErrors;
    std::vector<bool> connectEnds;
    bool reconnecting = false;
    int callsOffUiThread = 0;

private:
    void note() {
        if (!ui::Application::isUiThread()) ++callsOffUiThread;
    }
};
