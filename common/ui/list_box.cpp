#include "common/ui/list_box.h"

namespace ui {

ListBox::ListBox(Container& parent, const Bounds& b)
    : Control(parent, "LISTBOX", "",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
              WS_EX_CLIENTEDGE, b) {}

void ListBox::clear() {
    SendMessageA(handle(), LB_RESETCONTENT, 0, 0);
}

int ListBox::addLine(const std::string& line, intptr_t data) {
    const LRESULT index =
        SendMessageA(handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    if (index >= 0) SendMessageA(handle(), LB_SETITEMDATA, index, static_cast<LPARAM>(data));
    return static_cast<int>(index);
}

intptr_t ListBox::data(int index) const {
    const LRESULT data = SendMessageA(handle(), LB_GETITEMDATA, index, 0);
    return data == LB_ERR ? 0 : static_cast<intptr_t>(data);
}

int ListBox::count() const {
    return static_cast<int>(SendMessageA(handle(), LB_GETCOUNT, 0, 0));
}

std::string ListBox::line(int index) const {
    const LRESULT length = SendMessageA(handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const LRESULT copied =
        SendMessageA(handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

int ListBox::itemIndex() const {
    return static_cast<int>(SendMessageA(handle(), LB_GETCURSEL, 0, 0));
}

void ListBox::setItemIndex(int index) {
    SendMessageA(handle(), LB_SETCURSEL, index, 0);
}

void ListBox::onCommand(WORD code) {
    if (code == LBN_DBLCLK && onDoubleClick) onDoubleClick();
    if (code == LBN_SELCHANGE && onSelect) onSelect();
}

}  // namespace ui
