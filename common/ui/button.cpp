#include "common/ui/button.h"

namespace ui {

Button::Button(Container& parent, const Bounds& b, const std::string& caption,
               std::function<void()> onClick)
    : Control(parent, "BUTTON", caption, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, b),
      onClick(std::move(onClick)) {}

void Button::onCommand(WORD code) {
    if (code == BN_CLICKED && onClick) onClick();
}

bool Button::press() {
    if (!enabled() || !visible()) return false;
    // As the dialog manager presses it: the focus stays where it is.
    if (onClick) onClick();
    return true;
}

void Button::click() {
    if (!enabled()) return;  // a user cannot click a disabled button either
    SendMessageA(handle(), BM_CLICK, 0, 0);
}

}  // namespace ui
