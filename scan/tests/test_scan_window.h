// A window with the controls a scan run reports into, standing in for the
// main window in tests of the scan threads.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "label.h"
#include "panel.h"
#include "picture.h"
#include "rich_text.h"
#include "scan_view.h"
#include "window.h"

class TestScanWindow : public ui::Window, public sysrepair::ScanView {
public:
    TestScanWindow();

    void appendLogLine(const std::string& line, uint32_t colour, bool bold) override;
    void scrollLogToEnd() override;
    void setRunningCaption(const std::string& caption) override;
    void showResultPanel() override;
    void setRepairButtonsVisible(bool visible) override;
    void setResultTexts(const std::string& headline, const std::string& advice) override;
    void setAdviceColour(uint32_t colour) override;

    // What a start of a scan does to the panels and buttons.
    void showScanningPanel();
    // The lines of the scan log, without their line breaks.
    std::vector<std::string> logLines() const;

    // Lines appended so far; read by categories on the worker thread.
    std::atomic<int> loggedLines{0};

    ui::Panel& welcomePanel;     // Panel1
    ui::Panel& scanningPanel;    // Panel2
    ui::Panel& resultPanel;      // Panel3
    ui::Label& runningCaption;   // Label20
    ui::RichText& log;           // TeRichEdit1
    ui::Label& headline;         // Label17
    ui::Label& advice;           // Label18
    ui::Picture& repairButton;   // ImageButton12
    ui::Picture& reportButton;   // ImageButton14
    ui::Picture& restoreButton;  // ImageButton1
    ui::Picture& updateButton;   // ImageButton7
};
