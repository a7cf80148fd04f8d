#include "common/ui/panel.h"

#include "common/ui/application.h"

namespace ui {

namespace {

const char kPanelClass[] = "MendoraPanel";

}  // namespace

LRESULT CALLBACK Panel::panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Panel*>(Control::fromHandle(hwnd));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    win::guarded([&] {
        if (self->routeChildMessage(msg, wParam, lParam, result)) {
            handled = true;
        } else if (msg == WM_NEXTDLGCTL || msg == DM_GETDEFID) {
            // A control asks its parent as it would ask a dialog: the window
            // the panel lies on answers.
            result = SendMessageA(GetAncestor(hwnd, GA_ROOT), msg, wParam, lParam);
            handled = true;
        } else if (msg == WM_CLOSE) {
            // A rich-edit box closes its parent on Esc: that means the
            // window's Esc, never the end of the panel.
            SendMessageA(GetAncestor(hwnd, GA_ROOT), WM_COMMAND, IDCANCEL, 0);
            handled = true;
        } else if (msg == WM_ERASEBKGND) {
            RECT r;
            GetClientRect(hwnd, &r);
            FillRect(reinterpret_cast<HDC>(wParam), &r, self->backgroundBrush());
            result = 1;
            handled = true;
        }
    });
    return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
}

namespace {

const char* registeredPanelClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kPanelClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return kPanelClass;
}

}  // namespace

Panel::Panel(Container& parent, const Bounds& b, COLORREF background)
    : Control(parent, registeredPanelClass(panelProc), "", WS_VISIBLE | WS_CLIPCHILDREN,
              WS_EX_CONTROLPARENT, b) {
    setHandle(Control::handle());
    setBackgroundColour(background);
}

Panel::~Panel() {
    destroyChildren();
}

}  // namespace ui
