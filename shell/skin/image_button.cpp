#include "shell/skin/image_button.h"

#include "shell/skin/jpeg_bitmap.h"

namespace skin {

TImageButton::TImageButton(ui::Container& parent, const ui::Bounds& b) : ui::Picture(parent, b) {
    setHandCursor(true);
    onEnter = [this] { CMMouseEnter(); };
    onLeave = [this] { CMMouseLeave(); };
    onPress = [this](ui::MouseButton button) { OnMouseDown(button); };
    onRelease = [this](ui::MouseButton button) { OnMouseUp(button); };
    setKeyboardPress([this] {
        if (PictureClick) PictureClick(*this);
    });
}

void TImageButton::setNormalPicture(HBITMAP picture) {
    Picture_normal = skin::copyBitmap(picture);
    setBitmap(Picture_normal.get());
}

void TImageButton::setHoverPicture(HBITMAP picture) {
    // The old copy may be on screen: show the new one in its place.
    const bool shown = bitmap() == Picture_hover.get() && bitmap();
    Picture_hover = skin::copyBitmap(picture);
    if (shown) setBitmap(Picture_hover.get());
}

void TImageButton::setPressedPicture(HBITMAP picture) {
    const bool shown = bitmap() == Picture_pressed.get() && bitmap();
    Picture_pressed = skin::copyBitmap(picture);
    if (shown) setBitmap(Picture_pressed.get());
}

void TImageButton::CMMouseEnter() {
    setBitmap(Picture_hover.get());
}

void TImageButton::CMMouseLeave() {
    setBitmap(Picture_normal.get());
}

void TImageButton::OnMouseDown(ui::MouseButton) {
    setBitmap(Picture_pressed.get());
}

void TImageButton::OnMouseUp(ui::MouseButton) {
    // Space releases a button the pointer may be far from.
    setBitmap(pointerOver() ? Picture_hover.get() : Picture_normal.get());
    if (PictureClick) PictureClick(*this);
}

}  // namespace skin
