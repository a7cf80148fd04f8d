#include "common/ui/group_box.h"

#include "common/guarded.h"

namespace ui {

namespace {

const char kOriginalProc[] = "Mendora.GroupBoxProc";

// The button class leaves a group's inside unpainted, and a window that
// clips its children paints nothing there either: the group paints it with
// its container's background.
LRESULT CALLBACK groupBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto original = reinterpret_cast<WNDPROC>(GetPropA(hwnd, kOriginalProc));
    if (msg == WM_ERASEBKGND) {
        if (auto* self = static_cast<GroupBox*>(Control::fromHandle(hwnd))) {
            LRESULT result = 0;
            if (win::guarded([&] {
                    RECT r;
                    GetClientRect(hwnd, &r);
                    FillRect(reinterpret_cast<HDC>(wParam), &r, self->parent().backgroundBrush());
                    result = 1;
                }))
                return result;
        }
    }
    if (msg == WM_NCDESTROY) RemovePropA(hwnd, kOriginalProc);
    return original ? CallWindowProcA(original, hwnd, msg, wParam, lParam)
                    : DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

GroupBox::GroupBox(Container& parent, const Bounds& b, const std::string& caption)
    : Control(parent, "BUTTON", caption, WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, b) {
    SetPropA(handle(), kOriginalProc,
             reinterpret_cast<HANDLE>(GetWindowLongPtrA(handle(), GWLP_WNDPROC)));
    SetWindowLongPtrA(handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(groupBoxProc));
    // The controls of the group are laid over it: it lies below them, and
    // clipping them keeps it from painting over them.
    SetWindowPos(handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

Bounds GroupBox::inside(const Bounds& b) const {
    const Bounds own = bounds();
    return Bounds{own.left + b.left, own.top + b.top, b.width, b.height};
}

HBRUSH GroupBox::onColour(HDC dc) {
    // The caption is drawn on the container's background.
    if (fontColour() != CLR_INVALID) SetTextColor(dc, fontColour());
    SetBkColor(dc, parent().backgroundColour());
    return parent().backgroundBrush();
}

}  // namespace ui
