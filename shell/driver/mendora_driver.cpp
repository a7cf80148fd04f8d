#include "shell/driver/mendora_driver.h"

#include "common/tests/driver/window_driver.h"

namespace mendora_driver {

namespace {

bool isMainWindow(HWND hwnd) {
    RECT r;
    return GetClientRect(hwnd, &r) && r.right == window_driver::scaledForScreen(730) &&
           r.bottom == window_driver::scaledForScreen(595);
}

}  // namespace

HWND waitForMainWindow(DWORD processId, int seconds) {
    return window_driver::waitForWindowWhere(processId, isMainWindow, seconds);
}

DWORD findMendoraProcess() {
    return window_driver::findProcessWithWindow("Mendora", isMainWindow);
}

bool isResultHeadline(const std::string& text) {
    static const std::string suffix = " Possible Problems";
    return text == "No Problems Detected" ||
           (text.size() > suffix.size() &&
            text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0);
}

bool isRunningCaption(const std::string& text) {
    return text.rfind("Running ", 0) == 0;
}

}  // namespace mendora_driver
