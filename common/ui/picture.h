// A control that shows a bitmap and reports the pointer entering and leaving
// it and mouse buttons pressed and released on it. A press captures the mouse,
// so the release reaches the control that was pressed even when the pointer
// has left it. A picture made pressable by the keyboard is a tab stop, shows
// the focus, and is pressed by Enter, or by Space as a press and a release
// (the left button's); a disabled picture is drawn greyed.
#pragma once

#include <functional>

#include "common/ui/control.h"

namespace ui {

enum class MouseButton { Left, Right, Middle };

class Picture : public Control {
public:
    Picture(Container& parent, const Bounds& b);
    ~Picture() override;

    // Shows the bitmap, drawn for 96 DPI, at the scaled size
    // (common/ui/scaled_bitmap.h); the caller keeps owning it and keeps it
    // alive while it is shown. None shows the container's background.
    void setBitmap(HBITMAP bitmap);
    HBITMAP bitmap() const { return bitmap_; }
    void setHandCursor(bool hand) { handCursor_ = hand; }
    bool pointerOver() const { return hover_; }
    // Makes the picture a tab stop that Enter presses with the given action.
    void setKeyboardPress(std::function<void()> action);

    bool press() override;
    bool pressesOnEnter() const override { return keyboardPress_ != nullptr; }
    void onCommand(WORD code) override;

    std::function<void()> onEnter;
    std::function<void()> onLeave;
    std::function<void(MouseButton)> onPress;
    std::function<void(MouseButton)> onRelease;

private:
    static LRESULT CALLBACK pictureProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    bool handleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool handleKey(UINT msg, WPARAM wParam, LPARAM lParam);
    void paint();
    bool showsFocus() const;

    HBITMAP bitmap_ = nullptr;
    bool hover_ = false;
    bool handCursor_ = false;
    bool spaceDown_ = false;
    std::function<void()> keyboardPress_;
};

}  // namespace ui
