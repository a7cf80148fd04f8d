#include "common/ui/application.h"

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <mutex>

#include "common/message_box.h"
#include "common/ui/layout_scale.h"
#include "common/ui/message_dispatch.h"
#include "common/ui/synchronize.h"
#include "common/ui/window.h"
#include "common/ui_thread.h"
#include "common/win_handles.h"

namespace ui {

namespace {

std::atomic<DWORD> uiThreadId{0};
std::mutex titleLock;
std::string appTitle;
// Read by showException on any thread.
std::atomic<Window*> mainWin{nullptr};
std::atomic<HICON> appIcon{nullptr};

// The rich-text library stays loaded for the life of the process.
win::Module& richTextLibrary() {
    static win::Module module;
    return module;
}

}  // namespace

bool Application::initialize() {
    static bool ok = false;
    static std::once_flag once;
    std::call_once(once, [] {
        uiThreadId = GetCurrentThreadId();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        const bool controls = InitCommonControlsEx(&icc) != FALSE;
        richTextLibrary().reset(LoadLibraryA("riched20.dll"));
        ok = controls && richTextLibrary().valid() && detail::createDispatcher();
        win::setUiThreadRunner(synchronize);
        win::setExceptionReport(showException);
    });
    return ok;
}

bool Application::isUiThread() {
    return uiThreadId != 0 && GetCurrentThreadId() == uiThreadId;
}

void Application::setTitle(const std::string& title) {
    std::lock_guard<std::mutex> lock(titleLock);
    appTitle = title;
}

std::string Application::title() {
    std::lock_guard<std::mutex> lock(titleLock);
    return appTitle;
}

void Application::setIcon(HICON icon) {
    appIcon = icon;
    if (Window* main = mainWin) main->setIcon(icon);
}

HICON Application::icon() {
    return appIcon;
}

int Application::run(Window& window) {
    initialize();
    mainWin = &window;
    win::setMainWindowHandle(window.handle());
    window.show();
    MSG msg;
    int exitCode = 0;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (got == -1) break;
        dispatchMessage(msg);
    }
    mainWin = nullptr;
    return exitCode;
}

Window* Application::mainWindow() {
    return mainWin;
}

void Application::processMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit for the loop that owns it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        dispatchMessage(msg);
    }
}

void Application::terminate(int exitCode) {
    PostQuitMessage(exitCode);
}

void Application::minimize() {
    if (Window* main = mainWin) ShowWindow(main->handle(), SW_MINIMIZE);
}

void Application::showException(const char* what) {
    std::string caption = title();
    if (caption.empty()) caption = "Error";
    const std::string text = what ? what : "Unknown exception";
    win::runOnUiThread([&] {
        Window* main = mainWin;
        win::showMessageBox(main ? main->handle() : nullptr, text, caption, MB_OK | MB_ICONERROR);
    });
}

int Application::screenWidth() {
    return toUnits(GetSystemMetrics(SM_CXSCREEN));
}

int Application::screenHeight() {
    return toUnits(GetSystemMetrics(SM_CYSCREEN));
}

}  // namespace ui
