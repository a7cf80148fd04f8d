#include "common/message_box.h"

#include <atomic>
#include <mutex>

#include "common/ui_thread.h"

namespace {

std::mutex handlerLock;
MessageBoxHandler& handler() {
    static MessageBoxHandler h;
    return h;
}
std::atomic<HWND> mainWindow{nullptr};

}  // namespace

int showMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    MessageBoxHandler current;
    {
        std::lock_guard<std::mutex> lock(handlerLock);
        current = handler();
    }
    if (current) return current(MessageBoxRequest{owner, text, caption, flags});
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

int showMessageOnUiThread(const std::string& text, const std::string& caption, UINT flags) {
    int pressed = 0;
    runOnUiThread([&] { pressed = showMessageBox(mainWindowHandle(), text, caption, flags); });
    return pressed;
}

void setMessageBoxHandler(MessageBoxHandler h) {
    std::lock_guard<std::mutex> lock(handlerLock);
    handler() = std::move(h);
}

void setMainWindowHandle(HWND window) {
    mainWindow = window;
}

HWND mainWindowHandle() {
    return mainWindow;
}
