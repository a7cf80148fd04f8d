#include "test_scan_window.h"

namespace {

ui::WindowOptions scanWindowOptions() {
    ui::WindowOptions o;
    o.caption = "Mendora scan test";
    o.clientWidth = 730;
    o.clientHeight = 595;
    o.frame = ui::Frame::None;
    return o;
}

const COLORREF kWhite = RGB(255, 255, 255);

}  // namespace

TestScanWindow::TestScanWindow()
    : ui::Window(scanWindowOptions()),
      welcomePanel(add<ui::Panel>(ui::Bounds{288, 152, 425, 297}, kWhite)),
      scanningPanel(add<ui::Panel>(ui::Bounds{288, 136, 425, 313}, kWhite)),
      resultPanel(add<ui::Panel>(ui::Bounds{280, 136, 425, 321}, kWhite)),
      runningCaption(scanningPanel.add<ui::Label>(ui::Bounds{6, 0, 419, 28}, "Scanning...",
                                                  ui::LabelOptions{ui::Align::Centre, false})),
      log(scanningPanel.add<ui::RichText>(ui::Bounds{8, 24, 401, 217},
                                          ui::RichTextOptions{true, false})),
      headline(resultPanel.add<ui::Label>(ui::Bounds{16, 51, 401, 18}, "Possible Problems",
                                          ui::LabelOptions{ui::Align::Centre, false})),
      advice(resultPanel.add<ui::Label>(ui::Bounds{24, 96, 393, 57}, "",
                                        ui::LabelOptions{ui::Align::Centre, true})),
      repairButton(resultPanel.add<ui::Picture>(ui::Bounds{32, 176, 177, 49})),
      reportButton(resultPanel.add<ui::Picture>(ui::Bounds{216, 176, 177, 49})),
      restoreButton(add<ui::Picture>(ui::Bounds{416, 80, 121, 30})),
      updateButton(add<ui::Picture>(ui::Bounds{544, 80, 89, 36})) {
    scanningPanel.setVisible(false);
    resultPanel.setVisible(false);
    headline.setFontColour(RGB(255, 0, 0));
    advice.setFontColour(RGB(128, 128, 128));
}

void TestScanWindow::appendLogLine(const std::string& line, uint32_t colour, bool bold) {
    log.append(line + "\r\n", colour, bold);
    ++loggedLines;
}

void TestScanWindow::scrollLogToEnd() {
    log.scrollToEnd();
}

void TestScanWindow::setRunningCaption(const std::string& caption) {
    runningCaption.setText(caption);
}

void TestScanWindow::showResultPanel() {
    resultPanel.setVisible(true);
    scanningPanel.setVisible(false);
    welcomePanel.setVisible(false);
    restoreButton.setEnabled(true);
    updateButton.setEnabled(true);
}

void TestScanWindow::setRepairButtonsVisible(bool visible) {
    repairButton.setVisible(visible);
    reportButton.setVisible(visible);
}

void TestScanWindow::setResultTexts(const std::string& headlineText,
                                    const std::string& adviceText) {
    headline.setText(headlineText);
    advice.setText(adviceText);
}

void TestScanWindow::setAdviceColour(uint32_t colour) {
    advice.setFontColour(colour);
}

void TestScanWindow::showScanningPanel() {
    log.clear();
    scanningPanel.setVisible(true);
    welcomePanel.setVisible(false);
    resultPanel.setVisible(false);
    restoreButton.setEnabled(false);
    updateButton.setEnabled(false);
}

std::vector<std::string> TestScanWindow::logLines() const {
    std::vector<std::string> lines;
    std::string current;
    for (char c : log.plainText()) {
        if (c == '\r' || c == '\n') {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}
