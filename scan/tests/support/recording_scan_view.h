// A scan view that records what the scan monitor reports into it, and counts
// the reports that did not come on the user-interface thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "common/ui/application.h"
#include "scan/scan_view.h"

class RecordingScanView : public sysrepair::ScanView {
public:
    struct LogLine {
        std::string text;
        uint32_t colour;
        bool bold;
    };

    void appendLogLine(const std::string& line, uint32_t colour, bool bold) override {
        note();
        lines.push_back({line, colour, bold});
        ++loggedLines;
    }
    void scrollLogToEnd() override { note(); }
    void setRunningCaption(const std::string& caption) override {
        note();
        runningCaption = caption;
    }
    void showResultPanel() override {
        note();
        resultShown = true;
    }
    void setRepairButtonsVisible(bool visible) override {
        note();
        repairButtonsVisible = visible;
    }
    void setResultTexts(const std::string& headlineText, const std::string& adviceText) override {
        note();
        headline = headlineText;
        advice = adviceText;
    }
    void setAdviceColour(uint32_t colour) override {
        note();
        adviceColour = colour;
    }

    std::vector<std::string> logTexts() const {
        std::vector<std::string> texts;
        for (const LogLine& line : lines) texts.push_back(line.text);
        return texts;
    }

    // Read by categories on the scan thread.
    std::atomic<int> loggedLines{0};
    std::atomic<int> callsOffUiThread{0};

    std::vector<LogLine> lines;
    std::string runningCaption = "Scanning...";
    bool resultShown = false;
    bool repairButtonsVisible = true;
    std::string headline = "Possible Problems";
    std::string advice;
    uint32_t adviceColour = 0x808080;

private:
    void note() {
        if (!ui::Application::isUiThread()) ++callsOffUiThread;
    }
};
