#include "common/ui/group_box.h"

namespace ui {

GroupBox::GroupBox(Container& parent, const Bounds& b, const std::string& caption)
    : Control(parent, "BUTTON", caption, WS_VISIBLE | BS_GROUPBOX, 0, b) {}

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
