#include "common/ui/picture.h"

#include "common/win_handles.h"

#include "common/ui/application.h"
#include "common/ui/greyed_picture.h"
#include "common/ui/scaled_bitmap.h"

namespace ui {

namespace {

const char kPictureClass[] = "MendoraPicture";

const char* registeredPictureClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kPictureClass;
        return RegisterClassA(&wc) != 0;
    }();
    (void)registered;
    return kPictureClass;
}

}  // namespace

Picture::Picture(Container& parent, const Bounds& b)
    : Control(parent, registeredPictureClass(pictureProc), "", WS_VISIBLE, 0, b) {}

Picture::~Picture() {
    if (GetCapture() == handle()) ReleaseCapture();
}

void Picture::setBitmap(HBITMAP bitmap) {
    bitmap_ = bitmap;
    InvalidateRect(handle(), nullptr, TRUE);
}

LRESULT CALLBACK Picture::pictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Picture*>(Control::fromHandle(hwnd));
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    bool handled = false;
    win::guarded([&] { handled = self->handleMessage(msg, wParam, lParam, result); });
    return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void Picture::setKeyboardPress(std::function<void()> action) {
    keyboardPress_ = std::move(action);
    const LONG style = GetWindowLongA(handle(), GWL_STYLE);
    SetWindowLongA(handle(), GWL_STYLE, keyboardPress_ ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool Picture::press() {
    if (!keyboardPress_ || !enabled() || !IsWindowVisible(handle())) return false;
    keyboardPress_();
    return true;
}

void Picture::onCommand(WORD code) {
    if (code == BN_CLICKED) press();
}

namespace {

bool isPressKey(WPARAM key) {
    return key == VK_RETURN || key == VK_SPACE;
}

bool isPressCharacter(WPARAM character) {
    return character == '\r' || character == ' ';
}

}  // namespace

bool Picture::handleKey(UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool repeat = (lParam & (1 << 30)) != 0;
    switch (msg) {
        case WM_KEYDOWN:
            if (wParam == VK_RETURN && !repeat) press();
            if (wParam == VK_SPACE && !repeat && enabled()) {
                spaceDown_ = true;
                if (onPress) onPress(MouseButton::Left);
            }
            return isPressKey(wParam);
        case WM_KEYUP:
            if (wParam == VK_SPACE && spaceDown_) {
                spaceDown_ = false;
                if (onRelease) onRelease(MouseButton::Left);
            }
            return isPressKey(wParam);
        case WM_CHAR:
            // Taken here: the dialog manager must not look for an access key
            // with it once the press has hidden this picture.
            return isPressCharacter(wParam);
    }
    return false;
}

bool Picture::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_GETDLGCODE: {
            if (!keyboardPress_) return false;
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            const bool ours = key && ((key->message == WM_CHAR && isPressCharacter(key->wParam)) ||
                                      ((key->message == WM_KEYDOWN || key->message == WM_KEYUP) &&
                                       isPressKey(key->wParam)));
            result = DLGC_BUTTON | (ours ? DLGC_WANTMESSAGE : DLGC_UNDEFPUSHBUTTON);
            return true;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            if (!keyboardPress_) return false;
            return handleKey(msg, wParam, lParam);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            if (msg == WM_KILLFOCUS && spaceDown_) {
                // A press that lost the focus is no click.
                spaceDown_ = false;
                if (onLeave) onLeave();
            }
            InvalidateRect(handle(), nullptr, FALSE);
            return true;
        case WM_ENABLE:
            InvalidateRect(handle(), nullptr, FALSE);
            return true;
        case WM_UPDATEUISTATE:
            InvalidateRect(handle(), nullptr, FALSE);
            return false;
        case WM_PAINT:
            paint();
            return true;
        case WM_ERASEBKGND:
            result = 1;
            return true;
        case WM_SETCURSOR:
            if (!handCursor_) return false;
            SetCursor(LoadCursor(nullptr, IDC_HAND));
            result = TRUE;
            return true;
        case WM_MOUSEMOVE:
            if (!hover_) {
                hover_ = true;
                TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, handle(), 0};
                TrackMouseEvent(&track);
                if (onEnter) onEnter();
            }
            return true;
        case WM_MOUSELEAVE:
            hover_ = false;
            if (onLeave) onLeave();
            return true;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SetCapture(handle());
            if (onPress)
                onPress(msg == WM_LBUTTONDOWN   ? MouseButton::Left
                        : msg == WM_RBUTTONDOWN ? MouseButton::Right
                                                : MouseButton::Middle);
            return true;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (GetCapture() == handle()) ReleaseCapture();
            if (onRelease)
                onRelease(msg == WM_LBUTTONUP   ? MouseButton::Left
                          : msg == WM_RBUTTONUP ? MouseButton::Right
                                                : MouseButton::Middle);
            return true;
    }
    return false;
}

bool Picture::showsFocus() const {
    if (!keyboardPress_ || GetFocus() != handle()) return false;
    // Hidden until the keyboard is used, as the platform's buttons do.
    return !(SendMessageA(handle(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void Picture::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle(), &ps);
    RECT client;
    GetClientRect(handle(), &client);
    if (enabled()) {
        FillRect(dc, &client, parent().backgroundBrush());
        if (bitmap_) drawScaled(dc, bitmap_);
    } else {
        drawGreyed(dc, client, parent().backgroundBrush(), bitmap_);
    }
    if (showsFocus()) {
        RECT focus = client;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
    EndPaint(handle(), &ps);
}

}  // namespace ui
