#include "common/ui/label.h"

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
    HDC dc = GetDC(handle());
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(handle(), WM_GETFONT, 0, 0)));
    const std::string content = text();
    RECT r = {0, 0, b.width, 0};
    DrawTextA(dc, content.c_str(), static_cast<int>(content.size()), &r,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(handle(), dc);
    setBounds(Bounds{b.left, b.top, b.width, r.bottom});
}

HBRUSH Label::onColour(HDC dc) {
    // Labels are drawn on their container's background.
    if (fontColour() != CLR_INVALID) SetTextColor(dc, fontColour());
    SetBkColor(dc, parent().backgroundColour());
    return parent().backgroundBrush();
}

}  // namespace ui
