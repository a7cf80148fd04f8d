#include "common/ui/label.h"

#include "common/ui/layout_scale.h"
#include "common/win_handles.h"

namespace ui {

namespace {

DWORD labelStyle(const LabelOptions& o) {
    DWORD style = WS_VISIBLE | SS_NOPREFIX;
    switch (o.align) {
        case Align::Left:
            style |= o.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
            break;
        case Align::Centre:
            style |= SS_CENTER;
            break;
        case Align::Right:
            style |= SS_RIGHT;
            break;
    }
    return style;
}

}  // namespace

Label::Label(Container& parent, const Bounds& b, const std::string& text, LabelOptions options)
    : Control(parent, "STATIC", text, labelStyle(options), 0, b) {}

void Label::fitHeightToText() {
    const Bounds b = bounds();
    RECT r = {0, 0, toPixels(b.width), 0};
    {
        win::WindowDc dc(handle());
        win::SelectedObject font(
            dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(handle(), WM_GETFONT, 0, 0)));
        const std::string content = text();
        DrawTextA(dc.get(), content.c_str(), static_cast<int>(content.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    }
    // Rounded up: a unit short would cut the last line off by a pixel.
    int height = toUnits(r.bottom);
    if (toPixels(height) < r.bottom) ++height;
    setBounds(Bounds{b.left, b.top, b.width, height});
}

HBRUSH Label::onColour(HDC dc) {
    // Labels are drawn on their container's background.
    if (fontColour() != CLR_INVALID) SetTextColor(dc, fontColour());
    SetBkColor(dc, parent().backgroundColour());
    return parent().backgroundBrush();
}

}  // namespace ui
