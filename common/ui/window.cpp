#include "common/ui/window.h"

#include <string>
#include <vector>

#include "common/ui/application.h"
#include "common/ui/layout_scale.h"
#include "common/ui/menu_bar.h"
#include "common/ui/message_dispatch.h"

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
                          (options.frame == Frame::Tool ? WS_EX_TOOLWINDOW : 0) |
                          (options.activatesWhenShown ? 0 : WS_EX_NOACTIVATE) | WS_EX_CONTROLPARENT;
    activatesWhenShown_ = options.activatesWhenShown;
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

Window* Window::fromHandle(HWND hwnd) {
    if (!hwnd || GetWindowLongPtrA(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(windowProc))
        return nullptr;
    return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (routeChildMessage(msg, wParam, lParam, result)) return result;
    const HWND hwnd = handle();
    switch (msg) {
        case WM_COMMAND: {
            if (lParam != 0) break;
            const WORD id = LOWORD(wParam);
            // From the dialog manager: Esc, and Enter with no default button.
            if (id == IDCANCEL) {
                cancel();
                return 0;
            }
            if (id == IDOK) return 0;
            if (HIWORD(wParam) == 0 && menuBar_ && id >= 0x8000) {
                menuBar_->dispatch(id);
                return 0;
            }
            // A default button the dialog manager named by its id alone.
            if (Control* control = Control::findById(hwnd, id)) {
                control->onCommand(HIWORD(wParam));
                return 0;
            }
            break;
        }
        case DM_GETDEFID:
            return defaultButtonId();
        case WM_NEXTDLGCTL:
            moveFocus(wParam, lParam);
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
            } else if (!HIWORD(wParam)) {
                const HWND focus = GetFocus();
                if (!focus || (focus != hwnd && !IsChild(hwnd, focus))) restoreFocus();
                if (!GetFocus()) SetFocus(hwnd);
            }
            return 0;
        case WM_SETFOCUS:
            // The frame itself holds nothing to type into.
            restoreFocus();
            return 0;
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
    ShowWindow(handle(), activatesWhenShown_ ? SW_SHOW : SW_SHOWNOACTIVATE);
    UpdateWindow(handle());
}

void Window::setOwner(HWND owner) {
    ownerChosen_ = true;
    SetWindowLongPtrA(handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

HWND Window::owner() const {
    return GetWindow(handle(), GW_OWNER);
}

bool Window::usable(HWND control) {
    return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
}

void Window::setDefaultButton(Control& button) {
    if (defaultButton_ && defaultButton_->handle())
        SendMessageA(defaultButton_->handle(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    defaultButton_ = &button;
    char className[16] = {};
    GetClassNameA(button.handle(), className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0)
        SendMessageA(button.handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

void Window::setCancelButton(Control& button) {
    cancelButton_ = &button;
}

void Window::setFirstFocus(Control& control) {
    firstFocus_ = &control;
}

void Window::setTabOrder(std::initializer_list<Control*> controls) {
    // Kept apart from the order of the windows, which the dialog manager
    // would follow: that order is also the one other programs find the
    // controls in, and it stays as the window was built.
    tabOrder_.assign(controls.begin(), controls.end());
}

bool Window::hasTabOrder() const {
    return !tabOrder_.empty();
}

HWND Window::nextInTabOrder(HWND from, bool backward) const {
    if (tabOrder_.empty()) return GetNextDlgTabItem(handle(), from, backward);
    const int count = static_cast<int>(tabOrder_.size());
    int at = -1;
    for (int i = 0; i < count && from; ++i)
        if (tabOrder_[i]->handle() == from || IsChild(tabOrder_[i]->handle(), from)) at = i;
    for (int step = 1; step <= count; ++step) {
        const int i = at < 0 ? (backward ? count - step : step - 1)
                             : ((at + (backward ? -step : step)) % count + count) % count;
        if (usable(tabOrder_[i]->handle())) return tabOrder_[i]->handle();
    }
    return nullptr;
}

Control* Window::focusedControl() const {
    const HWND focus = GetFocus();
    if (!focus || !IsChild(handle(), focus)) return nullptr;
    return Control::fromHandle(focus);
}

void Window::keepFocusUsable() {
    const HWND focus = GetFocus();
    if (focus && IsChild(handle(), focus) && IsWindowVisible(focus) && IsWindowEnabled(focus))
        return;
    // Only while the window is the one the user types into.
    if (GetActiveWindow() != handle()) {
        lastFocus_ = nullptr;
        return;
    }
    lastFocus_ = nullptr;
    restoreFocus();
}

void Window::restoreFocus() {
    HWND target = nullptr;
    if (lastFocus_ && IsWindow(lastFocus_) && IsChild(handle(), lastFocus_) && usable(lastFocus_))
        target = lastFocus_;
    else if (firstFocus_ && usable(firstFocus_->handle()))
        target = firstFocus_->handle();
    else
        target = nextInTabOrder(nullptr, false);
    if (target && IsChild(handle(), target)) SetFocus(target);
}

LRESULT Window::defaultButtonId() const {
    if (Control* focused = focusedControl())
        if (focused->pressesOnEnter()) return MAKELONG(focused->id(), DC_HASDEFID);
    if (defaultButton_ && defaultButton_->visible() && defaultButton_->enabled())
        return MAKELONG(defaultButton_->id(), DC_HASDEFID);
    return 0;
}

void Window::moveFocus(WPARAM wParam, LPARAM lParam) {
    const HWND focus = GetFocus();
    HWND target = nullptr;
    if (lParam) {
        target = reinterpret_cast<HWND>(wParam);
        if (!usable(target)) return;
    } else {
        target = nextInTabOrder(focus && IsChild(handle(), focus) ? focus : nullptr, wParam != 0);
    }
    if (!target || !IsChild(handle(), target)) return;
    SetFocus(target);
    // A box reached by the keyboard has its text selected, as in a dialog.
    if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(target, EM_SETSEL, 0, -1);
}

void Window::cancel() {
    if (cancelButton_ && cancelButton_->visible() && cancelButton_->enabled()) {
        cancelButton_->press();
        return;
    }
    if (modal_) close();
}

void Window::enableWindowsDisabledForModal() {
    for (HWND w : disabledForModal_)
        if (IsWindow(w)) EnableWindow(w, TRUE);
    disabledForModal_.clear();
}

namespace {

BOOL CALLBACK collectEnabledWindow(HWND hwnd, LPARAM param) {
    auto* list = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(param);
    if (hwnd != list->first && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
        list->second->push_back(hwnd);
    return TRUE;
}

}  // namespace

HWND ownerForModal(HWND self) {
    const HWND active = GetActiveWindow();
    if (active && active != self && IsWindowVisible(active)) return active;
    const Window* main = Application::mainWindow();
    if (main && main->handle() != self && main->visible() &&
        GetWindowThreadProcessId(main->handle(), nullptr) == GetCurrentThreadId())
        return main->handle();
    return nullptr;
}

int Window::showModal() {
    if (modal_) return 0;
    if (!ownerChosen_) {
        SetWindowLongPtrA(handle(), GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(ownerForModal(handle())));
    }
    // Each showing starts at the first focus, as a new dialog would.
    lastFocus_ = nullptr;
    disabledForModal_.clear();
    std::pair<HWND, std::vector<HWND>*> search{handle(), &disabledForModal_};
    EnumThreadWindows(GetCurrentThreadId(), collectEnabledWindow,
                      reinterpret_cast<LPARAM>(&search));
    for (HWND w : disabledForModal_) EnableWindow(w, FALSE);
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
        dispatchMessage(msg);
    }
    modal_ = false;
    enableWindowsDisabledForModal();
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
    // The owner is enabled before this window hides, or Windows finds no
    // window of the program to activate and the foreground goes elsewhere.
    if (modal_) enableWindowsDisabledForModal();
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
