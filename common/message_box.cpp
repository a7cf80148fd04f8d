#include "common/message_box.h"

#include <atomic>
#include <mutex>

#include "common/ui_thread.h"

namespace win {

namespace {

std::mutex handlerLock;
MessageBoxHandler& handler() {
    static MessageBoxHandler h;
    return h;
}
std::atomic<HWND> mainWindow{nullptr};

}  // namespace

namespace {

// A box without a named owner belongs to the window the user works in on
// this thread, or else to the main window when this is its thread: an
// unowned box opens behind a window that stays on top, and leaves the
// foreground to another program when it closes.
HWND ownerFor(HWND named) {
    if (named) return named;
    if (HWND active = GetActiveWindow()) return active;
    const HWND main = mainWindow;
    if (main && IsWindowVisible(main) &&
        GetWindowThreadProcessId(main, nullptr) == GetCurrentThreadId())
        return main;
    return nullptr;
}

int show(MessageBoxRequest request) {
    request.owner = ownerFor(request.owner);
    MessageBoxHandler current;
    {
        std::lock_guard<std::mutex> lock(handlerLock);
        current = handler();
    }
    if (current) return current(request);
    return MessageBoxA(request.owner, request.text.c_str(),
                       request.defaultCaption ? nullptr : request.caption.c_str(), request.flags);
}

}  // namespace

int showMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    return show(MessageBoxRequest{owner, text, caption, flags});
}

int showMessageBoxWithDefaultCaption(HWND owner, const std::string& text, UINT flags) {
    return show(MessageBoxRequest{owner, text, std::string(), flags, true});
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

}  // namespace win
