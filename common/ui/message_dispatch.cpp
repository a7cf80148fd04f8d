#include "common/ui/message_dispatch.h"

#include "common/ui/window.h"

namespace ui {

namespace {

bool isKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

// The dialog manager looks for an access key by walking the visible controls
// from the one the key was typed into; when that one has been hidden since
// (Enter hid the panel it sits on) Wine's walk never ends. Such a character
// goes to the control itself.
bool dialogManagerMayTake(const MSG& msg) {
    if (msg.message != WM_CHAR && msg.message != WM_SYSCHAR) return true;
    return IsWindowVisible(msg.hwnd) != FALSE;
}

// Tab in a window with a tab order of its own, typed into a control that
// does not take Tab itself: the window moves the focus, since the dialog
// manager knows only the order the controls were made in.
bool isOwnTab(Window& window, const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || !window.hasTabOrder()) return false;
    if ((GetKeyState(VK_CONTROL) & 0x8000) || (GetKeyState(VK_MENU) & 0x8000)) return false;
    const LRESULT code =
        SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg));
    return !(code & (DLGC_WANTTAB | DLGC_WANTMESSAGE));
}

}  // namespace

void dispatchMessage(MSG& msg) {
    if (msg.hwnd && isKeyMessage(msg.message)) {
        const HWND root = GetAncestor(msg.hwnd, GA_ROOT);
        Window* window = root ? Window::fromHandle(root) : nullptr;
        if (window && isOwnTab(*window, msg)) {
            window->tab((GetKeyState(VK_SHIFT) & 0x8000) != 0);
            return;
        }
        if (window && dialogManagerMayTake(msg) && IsDialogMessageA(root, &msg)) return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

}  // namespace ui
