#include "shell/skin/image_button.h"

#include <gtest/gtest.h>

#include "common/ui/window.h"

namespace {

class ImageButtonTest : public ::testing::Test {
protected:
    ImageButtonTest() : window(makeOptions()) {
        window.show();
        normal = solid(RGB(10, 20, 30));
        hover = solid(RGB(40, 50, 60));
        pressed = solid(RGB(70, 80, 90));
        button.setNormalPicture(normal.get());
        button.setHoverPicture(hover.get());
        button.setPressedPicture(pressed.get());
    }
    static ui::WindowOptions makeOptions() {
        ui::WindowOptions o;
        o.caption = "image button";
        o.clientWidth = 300;
        o.clientHeight = 200;
        return o;
    }
    static win::Bitmap solid(COLORREF colour) {
        HDC screen = GetDC(nullptr);
        win::Bitmap bitmap(CreateCompatibleBitmap(screen, 177, 49));
        HDC dc = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(dc, bitmap.get());
        RECT r = {0, 0, 177, 49};
        win::Brush brush(CreateSolidBrush(colour));
        FillRect(dc, &r, brush.get());
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }
    // The colour the button shows now, read from the bitmap it displays.
    COLORREF shown() const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, button.bitmap());
        const COLORREF c = GetPixel(dc, 5, 5);
        SelectObject(dc, old);
        DeleteDC(dc);
        return c;
    }
    void send(UINT msg, WPARAM w = 0, int x = 5, int y = 5) {
        SendMessageA(button.handle(), msg, w, MAKELPARAM(x, y));
    }

    ui::Window window;
    skin::TImageButton& button = window.add<skin::TImageButton>(ui::Bounds{16, 16, 177, 49});
    win::Bitmap normal, hover, pressed;
};

TEST_F(ImageButtonTest, PicturesFollowThePointerAndTheClickComesOnRelease) {
    int clicks = 0;
    skin::TImageButton* sender = nullptr;
    button.PictureClick = [&](skin::TImageButton& b) {
        ++clicks;
        sender = &b;
    };
    // The button keeps copies: the caller's bitmaps may go.
    EXPECT_NE(button.normalPicture(), normal.get());
    normal.reset();
    EXPECT_EQ(shown(), RGB(10, 20, 30));

    send(WM_MOUSEMOVE);
    EXPECT_EQ(shown(), RGB(40, 50, 60));
    send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(shown(), RGB(70, 80, 90));
    EXPECT_EQ(clicks, 0);
    send(WM_LBUTTONUP);
    EXPECT_EQ(shown(), RGB(40, 50, 60));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, &button);
    send(WM_MOUSELEAVE);
    EXPECT_EQ(shown(), RGB(10, 20, 30));

    // The right button and the middle one click as well.
    send(WM_MOUSEMOVE);
    send(WM_RBUTTONDOWN, MK_RBUTTON);
    EXPECT_EQ(shown(), RGB(70, 80, 90));
    send(WM_RBUTTONUP);
    send(WM_MBUTTONDOWN, MK_MBUTTON);
    send(WM_MBUTTONUP);
    EXPECT_EQ(clicks, 3);
}

TEST_F(ImageButtonTest, AReleaseAfterThePointerLeftStillClicksAndKeepsTheHoverPicture) {
    int clicks = 0;
    button.PictureClick = [&](skin::TImageButton&) { ++clicks; };
    send(WM_MOUSEMOVE);
    send(WM_LBUTTONDOWN, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), button.handle());
    // The capture sends the release to the pressed button, wherever the
    // pointer is.
    send(WM_LBUTTONUP, 0, 400, 300);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(shown(), RGB(40, 50, 60));
    send(WM_MOUSELEAVE);
    EXPECT_EQ(shown(), RGB(10, 20, 30));
}

TEST_F(ImageButtonTest, NewHoverPictureWhileAwayLeavesTheNormalOneAndNoHandlerOnlySwaps) {
    win::Bitmap other = solid(RGB(200, 0, 0));
    button.setHoverPicture(other.get());
    button.setPressedPicture(other.get());
    EXPECT_EQ(shown(), RGB(10, 20, 30));
    send(WM_MOUSEMOVE);
    EXPECT_EQ(shown(), RGB(200, 0, 0));
    send(WM_LBUTTONDOWN, MK_LBUTTON);
    send(WM_LBUTTONUP);  // no handler: nothing but the pictures
    EXPECT_EQ(shown(), RGB(200, 0, 0));
    // Replacing the picture on screen shows the new one, never a freed one.
    button.setHoverPicture(hover.get());
    EXPECT_EQ(shown(), RGB(40, 50, 60));
}

}  // namespace
