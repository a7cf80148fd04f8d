#include "common/ui/control.h"

#include <atomic>

#include "common/ui/application.h"
#include "common/ui/layout_scale.h"

namespace ui {

namespace {

const char kControlProperty[] = "Mendora.Control";

// The stock GUI font is made for 96 DPI whatever the system's DPI (its
// characters are 11 pixels high), so above 96 DPI the controls get a copy of
// it at the same size in inches. One for the whole run.
HFONT defaultFont() {
    const auto stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (systemDpi() == 96) return stock;
    static const win::Font scaled = [stock] {
        LOGFONTA spec = {};
        GetObjectA(stock, sizeof spec, &spec);
        const int kStockHeightAt96Dpi = -11;
        spec.lfHeight = toPixels(kStockHeightAt96Dpi);
        spec.lfWidth = 0;
        return win::Font(CreateFontIndirectA(&spec));
    }();
    return scaled ? scaled.get() : stock;
}

RECT pixelRect(const Bounds& b) {
    const int left = toPixels(b.left);
    const int top = toPixels(b.top);
    // The far edges are scaled, not the sizes, so that controls that touch at
    // 96 DPI still touch.
    return RECT{left, top, toPixels(b.left + b.width), toPixels(b.top + b.height)};
}

}  // namespace

Control::Control(Container& parent, const char* windowClass, const std::string& text, DWORD style,
                 DWORD exStyle, const Bounds& b)
    : parent_(parent), id_(Container::nextControlId()) {
    Application::initialize();
    const RECT r = pixelRect(b);
    hwnd_ = CreateWindowExA(exStyle, windowClass, text.c_str(), WS_CHILD | style, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, parent.handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!hwnd_) return;
    SetPropA(hwnd_, kControlProperty, this);
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(defaultFont()), FALSE);
}

Control::~Control() {
    if (hwnd_ && IsWindow(hwnd_)) {
        RemovePropA(hwnd_, kControlProperty);
        DestroyWindow(hwnd_);
    }
}

Control* Control::fromHandle(HWND hwnd) {
    return hwnd ? static_cast<Control*>(GetPropA(hwnd, kControlProperty)) : nullptr;
}

namespace {

struct IdSearch {
    int id;
    Control* found;
};

BOOL CALLBACK matchControlId(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<IdSearch*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = Control::fromHandle(child);
    return search->found == nullptr;
}

}  // namespace

Control* Control::findById(HWND window, int id) {
    IdSearch search{id, nullptr};
    EnumChildWindows(window, matchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Control::setText(const std::string& text) {
    SetWindowTextA(hwnd_, text.c_str());
}

std::string Control::text() const {
    const int length = GetWindowTextLengthA(hwnd_);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd_, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

void Control::setVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::visible() const {
    return (GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::setEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled);
}

bool Control::enabled() const {
    return IsWindowEnabled(hwnd_) != FALSE;
}

void Control::setBounds(const Bounds& b) {
    const RECT r = pixelRect(b);
    MoveWindow(hwnd_, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

Bounds Control::bounds() const {
    RECT r = {};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    const int left = toUnits(r.left);
    const int top = toUnits(r.top);
    return Bounds{left, top, toUnits(r.right) - left, toUnits(r.bottom) - top};
}

void Control::setFocus() {
    SetFocus(hwnd_);
}

bool Control::hasFocus() const {
    return hwnd_ && GetFocus() == hwnd_;
}

void Control::setFont(const FontSpec& spec) {
    win::Font font(CreateFontA(fontHeightForPoints(spec.pointSize), 0, 0, 0,
                               spec.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.face.c_str()));
    if (!font) return;
    SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);
}

void Control::setFontColour(COLORREF colour) {
    fontColour_ = colour;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Control::onColour(HDC dc) {
    if (fontColour_ == CLR_INVALID) return nullptr;
    SetTextColor(dc, fontColour_);
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
}

Container::~Container() = default;

int Container::nextControlId() {
    // Below the menu items' ids (0x8000 on) and above IDOK and IDCANCEL; a
    // program makes far fewer controls than that in its life, and the ids
    // that come round again belong to controls long gone.
    static std::atomic<int> next{100};
    const int id = next++;
    return 100 + (id - 100) % (0x8000 - 100);
}

void Container::setBackgroundColour(COLORREF colour) {
    background_ = colour;
    backgroundBrush_.reset();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH Container::backgroundBrush() const {
    if (!backgroundBrush_) {
        auto* self = const_cast<Container*>(this);
        self->backgroundBrush_.reset(CreateSolidBrush(background_));
    }
    return backgroundBrush_.get();
}

bool Container::routeChildMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND: {
            Control* control = Control::fromHandle(reinterpret_cast<HWND>(lParam));
            if (!control) return false;
            control->onCommand(HIWORD(wParam));
            result = 0;
            return true;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            Control* control = Control::fromHandle(header->hwndFrom);
            if (!control) return false;
            result = control->onNotify(header);
            return true;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN: {
            Control* control = Control::fromHandle(reinterpret_cast<HWND>(lParam));
            if (!control) return false;
            HBRUSH brush = control->onColour(reinterpret_cast<HDC>(wParam));
            if (!brush) return false;
            result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        default:
            return false;
    }
}

void Container::notifyChildrenOfResize() {
    for (auto& child : children_) child->onParentResized();
}

}  // namespace ui
