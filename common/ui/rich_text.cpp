#include "common/ui/rich_text.h"

#include <windows.h>

#include <richedit.h>

#include <vector>

namespace ui {

RichText::RichText(Container& parent, const Bounds& b, RichTextOptions options)
    : Control(parent, RICHEDIT_CLASSA, "",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL |
                  (options.readOnly ? ES_READONLY : 0) |
                  (options.wordWrap ? 0 : WS_HSCROLL | ES_AUTOHSCROLL),
              WS_EX_CLIENTEDGE, b) {
    // Without a target device a rich edit control wraps at the window edge;
    // a line width of 1 twip tells it not to wrap at all.
    if (!options.wordWrap) SendMessageA(handle(), EM_SETTARGETDEVICE, 0, 1);
    SendMessageA(handle(), EM_SETEVENTMASK, 0, ENM_KEYEVENTS);
    // The platform holds text a program adds to 32,767 characters unless
    // told otherwise: a scan log or a long conversation would stop there.
    SendMessageA(handle(), EM_EXLIMITTEXT, 0, kTextLimit);
}

namespace {

// The keys of the dialog manager that a multi-line box would otherwise keep:
// Tab and Shift+Tab move on (Ctrl+Tab types a tab), Esc is the window's.
bool passKeyToWindow(HWND box, unsigned key) {
    const HWND window = GetAncestor(box, GA_ROOT);
    if (key == VK_TAB && !(GetKeyState(VK_CONTROL) & 0x8000)) {
        SendMessageA(window, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
        return true;
    }
    if (key == VK_ESCAPE) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    return false;
}

}  // namespace

LRESULT RichText::onNotify(NMHDR* header) {
    if (header->code != EN_MSGFILTER) return 0;
    const auto* filter = reinterpret_cast<MSGFILTER*>(header);
    // Non-zero tells the control to ignore the key.
    if (filter->msg == WM_KEYDOWN) {
        const auto key = static_cast<unsigned>(filter->wParam);
        if (onKeyDown && onKeyDown(key)) return 1;
        return passKeyToWindow(handle(), key) ? 1 : 0;
    }
    if (filter->msg == WM_CHAR && (filter->wParam == '\t' || filter->wParam == 27) &&
        !(GetKeyState(VK_CONTROL) & 0x8000))
        return 1;
    if (filter->msg == WM_CHAR && onKeyPress)
        return onKeyPress(static_cast<char>(filter->wParam)) ? 1 : 0;
    return 0;
}

void RichText::append(const std::string& text, COLORREF colour, bool bold) {
    // Drawn once afterwards: redrawing at each step makes a visible log slow
    // (about 30 ms a line under Wine).
    SendMessageA(handle(), WM_SETREDRAW, FALSE, 0);
    CHARRANGE end = {-1, -1};
    SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_BOLD;
    format.dwEffects = bold ? CFE_BOLD : 0;
    format.crTextColor = colour;
    SendMessageA(handle(), EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageA(handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle(), nullptr, FALSE);
}

bool RichText::scrolledToEnd() const {
    // Where the last character sits, rather than the scroll bar, which the
    // control brings up to date only when it next draws.
    const int length = GetWindowTextLengthA(handle());
    if (length == 0) return true;
    POINTL last = {};
    SendMessageA(handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&last), length - 1);
    RECT client = {};
    GetClientRect(handle(), &client);
    return last.y < client.bottom;
}

void RichText::appendFollowing(const std::string& text, COLORREF colour, bool bold) {
    const bool follow = scrolledToEnd();
    POINT place = {};
    CHARRANGE selection = {};
    SendMessageA(handle(), EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&place));
    SendMessageA(handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    append(text, colour, bold);
    if (follow) {
        scrollToEnd();
        return;
    }
    SendMessageA(handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageA(handle(), EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&place));
}

void RichText::clear() {
    SetWindowTextA(handle(), "");
}

void RichText::scrollToEnd() {
    SendMessageA(handle(), WM_VSCROLL, SB_BOTTOM, 0);
}

std::string RichText::plainText() const {
    return text();
}

namespace {

CHARFORMAT2A formatAt(HWND hwnd, int position) {
    CHARRANGE saved = {};
    SendMessageA(hwnd, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&saved));
    CHARRANGE one = {position, position + 1};
    SendMessageA(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&one));
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    SendMessageA(hwnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageA(hwnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&saved));
    return format;
}

}  // namespace

COLORREF RichText::colourAt(int position) const {
    return formatAt(handle(), position).crTextColor;
}

bool RichText::boldAt(int position) const {
    return (formatAt(handle(), position).dwEffects & CFE_BOLD) != 0;
}

int RichText::firstVisibleLine() const {
    return static_cast<int>(SendMessageA(handle(), EM_GETFIRSTVISIBLELINE, 0, 0));
}

int RichText::textLimit() const {
    return static_cast<int>(SendMessageA(handle(), EM_GETLIMITTEXT, 0, 0));
}

int RichText::lineCount() const {
    return static_cast<int>(SendMessageA(handle(), EM_GETLINECOUNT, 0, 0));
}

}  // namespace ui
