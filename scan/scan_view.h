// What the scan monitor needs from the window that shows a scan run: the scan
// log, the caption naming the running scanner, and the results panel. The
// main window implements it; every call comes on the user-interface thread.
#pragma once

#include <cstdint>
#include <string>

namespace sysrepair {

class ScanView {
public:
    virtual ~ScanView() = default;

    // Appends one line to the scan log in the given colour (0x00BBGGRR).
    virtual void appendLogLine(const std::string& line, uint32_t colour, bool bold) = 0;
    virtual void scrollLogToEnd() = 0;
    // The caption above the log that names the running scanner.
    virtual void setRunningCaption(const std::string& caption) = 0;
    // Shows the results panel instead of the welcome and scanning panels and
    // enables the buttons that a running scan disables.
    virtual void showResultPanel() = 0;
    // The two buttons that act on found problems (repair and report).
    virtual void setRepairButtonsVisible(bool visible) = 0;
    // The headline and the advice text of the results panel.
    virtual void setResultTexts(const std::string& headline, const std::string& advice) = 0;
    virtual void setAdviceColour(uint32_t colour) = 0;
};

}  // namespace sysrepair
