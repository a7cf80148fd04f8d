#include "common/ui/window.h"

#include <string>
#include <vector>

#include "common/ui/application.h"
#include "common/ui/layout_scale.h"
#include "common/ui/menu_bar.h"

namespace ui {

namespace {

const char kSharedClass[] = "MendoraWindow";

// Called for every window: a class already registered by an earlier window,
// on whichever thread, fails harmlessly (ERROR_CLASS_ALREADY_EXISTS).
void registerWindowClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

DWORD styleFor(const WindowOptions& o) {
    DWORD style = WS_CLIPCHILDREN;
    switch (o.frame) {
        case Frame::Sizeable:
            style |= WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
            break;
        case Frame::Dialog:
            style |= WS_CAPTION | WS_SYSMENU;
            break;
        case Frame::None:
            style |= WS_POPUP;
            break;
        case Frame::Tool:
            style |= WS_POPUP | WS_CAPTION;
            break;
    }
    if (o.frame == Frame::Tool) return style;
    if (o.minimizeBox) style |= WS_MINIMIZEBOX;
    if (o.maximizeBox && o.frame != Frame::None) style |= WS_MAXIMIZEBOX;
    return style;
}

}  // namespace

Window::Window(const WindowOptions& options) {
    Application::initialize();
    const char* className = options.className.empty() ? kSharedClass : options.className.c_str();
    registerWindowClass(className, windowProc);
    const DWORD style = styleFor(options);
    const DWORD exStyle = (options.stayOnTop ? WS_EX_TOPMOST : 0) |
                          (options.frame == Frame::Tool ? WS_EX_TOOLWINDOW : 0);
    RECT r = {0, 0, toPixels(options.clientWidth), toPixels(options.clientHeight)};
    AdjustWindowRectEx(&r, style, FALSE, exStyle);
    const HWND hwnd = CreateWindowExA(
        exStyle, className, options.caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
        r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    setHandle(hwnd);
    if (HICON icon = Application::icon()) setIcon(icon);
}

Window::~Window() {
    destroyChildren();
    if (handle()) {
        SetWindowLongPtrA(handle(), GWLP_USERDATA, 0);
        // The menu bar destroys its own menu.
        if (menuBar_) SetMenu(handle(), nullptr);
        DestroyWindow(handle());
    }
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self || !self->handle()) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    if (win::guarded([&] { result = self->handleMessage(msg, wParam, lParam); })) return result;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (routeChildMessage(msg, wParam, lParam, result)) return result;
    const HWND hwnd = handle();
    switch (msg) {
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) == 0 && menuBar_) {
                menuBar_->dispatch(LOWORD(wParam));
                return 0;
            }
            break;
        case WM_CLOSE:
            close();
            return 0;
        case WM_QUERYENDSESSION:
            return onQueryEndSession && !onQueryEndSession() ? FALSE : TRUE;
        case WM_ENDSESSION:
            if (wParam && onEndSession) onEndSession();
            return 0;
        case WM_SHOWWINDOW:
            if (wParam && onShow) onShow();
            break;
        case WM_SIZE:
            notifyChildrenOfResize();
            if (onResize) onResize();
            return 0;
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, backgroundBrush());
            return 1;
        }
        case WM_NCHITTEST: {
            const LRESULT hit = DefWindowProcA(hwnd, msg, wParam, lParam);
            if (hit != HTCLIENT || !captionTest_) return hit;
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ScreenToClient(hwnd, &p);
            return captionTest_(toUnits(p.x), toUnits(p.y)) ? HTCAPTION : hit;
        }
        case WM_DESTROY:
            setHandle(nullptr);
            return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Window::show() {
    // Menus added after the bar was set: the frame is measured again.
    if (menuBar_ && !visible())
        SetWindowPos(handle(), nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
}

namespace {

BOOL CALLBACK collectEnabledWindow(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(param);
    if (hwnd != list->first && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        list->second->push_back(hwnd);
    return TRUE;
}

}  // namespace

int Window::showModal() {
    if (modal_) return 0;
    std::vector<HWND> disabled;
    std::pair<HWND, std::vector<HWND>*> search{handle(), &disabled};
    EnumThreadWindows(GetCurrentThreadId(), collectEnabledWindow,
                      reinterpret_cast<LPARAM>(&search));
    for (HWND w : disabled) EnableWindow(w, FALSE);
    modal_ = true;
    modalResult_ = 0;
    show();
    SetForegroundWindow(handle());
    MSG msg;
    while (modal_) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The application is ending: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    modal_ = false;
    for (HWND w : disabled) EnableWindow(w, TRUE);
    hide();
    return modalResult_;
}

void Window::hide() {
    ShowWindow(handle(), SW_HIDE);
}

bool Window::visible() const {
    return handle() && IsWindowVisible(handle());
}

bool Window::close() {
    if (onCloseQuery && !onCloseQuery()) return false;
    closeUnasked();
    return true;
}

void Window::closeUnasked() {
    hide();
    if (onClose) onClose();
    modal_ = false;
    if (Application::mainWindow() == this) PostQuitMessage(0);
}

void Window::closeModal(int result) {
    if (close()) modalResult_ = result;
}

void Window::setCaption(const std::string& caption) {
    SetWindowTextA(handle(), caption.c_str());
}

std::string Window::caption() const {
    char buffer[512] = {};
    GetWindowTextA(handle(), buffer, sizeof buffer);
    return buffer;
}

void Window::setStayOnTop(bool onTop) {
    SetWindowPos(handle(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool Window::stayOnTop() const {
    return (GetWindowLongA(handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void Window::setClientSize(int width, int height) {
    RECT r = {0, 0, toPixels(width), toPixels(height)};
    AdjustWindowRectEx(&r, GetWindowLongA(handle(), GWL_STYLE), GetMenu(handle()) != nullptr,
                       GetWindowLongA(handle(), GWL_EXSTYLE));
    SetWindowPos(handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::clientWidth() const {
    RECT r = {};
    GetClientRect(handle(), &r);
    return toUnits(r.right);
}

int Window::clientHeight() const {
    RECT r = {};
    GetClientRect(handle(), &r);
    return toUnits(r.bottom);
}

int Window::width() const {
    RECT r = {};
    GetWindowRect(handle(), &r);
    return toUnits(r.right - r.left);
}

int Window::height() const {
    RECT r = {};
    GetWindowRect(handle(), &r);
    return toUnits(r.bottom - r.top);
}

void Window::setPosition(int left, int top) {
    SetWindowPos(handle(), nullptr, toPixels(left), toPixels(top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Window::left() const {
    RECT r = {};
    GetWindowRect(handle(), &r);
    return toUnits(r.left);
}

int Window::top() const {
    RECT r = {};
    GetWindowRect(handle(), &r);
    return toUnits(r.top);
}

void Window::centre() {
    setPosition(Application::screenWidth() / 2 - width() / 2,
                Application::screenHeight() / 2 - height() / 2);
}

void Window::setIcon(HICON icon) {
    SendMessageA(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool Window::hasFocus() const {
    const HWND focus = GetFocus();
    return focus && (focus == handle() || IsChild(handle(), focus));
}

void Window::flash(UINT flags, UINT count, DWORD intervalMs) {
    FLASHWINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = handle();
    info.dwFlags = flags;
    info.uCount = count;
    info.dwTimeout = intervalMs;
    FlashWindowEx(&info);
}

void Window::setRoundedShape(int right, int bottom, int ellipseWidth, int ellipseHeight) {
    win::Region region(CreateRoundRectRgn(0, 0, toPixels(right), toPixels(bottom),
                                          toPixels(ellipseWidth), toPixels(ellipseHeight)));
    // The window owns the region once SetWindowRgn succeeds.
    if (region && SetWindowRgn(handle(), region.get(), TRUE)) region.detach();
}

void Window::setSessionEndBlock(const std::string& reason) {
    using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
    using Destroy = BOOL(WINAPI*)(HWND);
    // Not in Windows XP, which shows no reasons.
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    static const auto create = reinterpret_cast<Create>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ShutdownBlockReasonCreate")));
    static const auto destroy = reinterpret_cast<Destroy>(
        reinterpret_cast<void*>(GetProcAddress(user32, "ShutdownBlockReasonDestroy")));
    if (reason.empty()) {
        if (destroy) destroy(handle());
        return;
    }
    std::wstring wide(reason.size(), L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, reason.data(), static_cast<int>(reason.size()),
                                      &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n : 0);
    if (create) create(handle(), wide.c_str());
}

MenuBar& Window::menuBar() {
    if (!menuBar_) {
        menuBar_ = std::make_unique<MenuBar>();
        SetMenu(handle(), menuBar_->handle());
    }
    return *menuBar_;
}

}  // namespace ui
