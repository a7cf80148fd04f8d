#include "shell/driver/mendora_driver.h"

#include <commctrl.h>

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

bool chooseOnlyCategory(DWORD processId, HWND window, int category) {
    using namespace window_driver;
    clickAt(window, kOptimize.x, kOptimize.y);
    HWND choice = waitForWindowWhere(
        processId, [&](HWND w) { return w != window && windowText(w) == "Mendora"; }, 30);
    HWND list = choice ? childOfClass(choice, "SysListView32") : nullptr;
    if (!list || !waitForFocus(
                     window, [&](HWND f) { return f == list; }, 30))
        return false;
    const auto ticked = [&](int item) {
        const LRESULT state = SendMessageA(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK);
        return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
    };
    pressKey(VK_HOME);
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int item = 0; item < count; ++item) {
        if (ticked(item) != (item == category)) pressKey(VK_SPACE);
        if (!pollUntil([&] { return ticked(item) == (item == category); }, 10)) return false;
        pressKey(VK_DOWN);
    }
    pressKey(VK_RETURN);
    return pollUntil([&] { return !IsWindowVisible(choice); }, 10);
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
