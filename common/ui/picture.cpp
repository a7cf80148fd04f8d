#include "common/ui/picture.h"

#include "common/win_handles.h"

#include "common/ui/application.h"
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
    win::guarded([&] { handled = self->handleMessage(msg, wParam, result); });
    return handled ? result : DefWindowProcA(hwnd, msg, wParam, lParam);
}

bool Picture::handleMessage(UINT msg, WPARAM wParam, LRESULT& result) {
    (void)wParam;
    switch (msg) {
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

void Picture::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle(), &ps);
    RECT client;
    GetClientRect(handle(), &client);
    FillRect(dc, &client, parent().backgroundBrush());
    if (bitmap_) drawScaled(dc, bitmap_);
    EndPaint(handle(), &ps);
}

}  // namespace ui
