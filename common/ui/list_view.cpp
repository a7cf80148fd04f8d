#include "common/ui/list_view.h"

#include <vector>

#include "common/ui/layout_scale.h"

namespace ui {

ListView::ListView(Container& parent, const Bounds& b, ListViewOptions options)
    : Control(parent, WC_LISTVIEWA, "",
              WS_VISIBLE | WS_TABSTOP | LVS_SHOWSELALWAYS | LVS_SINGLESEL |
                  (options.report ? LVS_REPORT : LVS_LIST),
              WS_EX_CLIENTEDGE, b) {
    DWORD ex = 0;
    if (options.checkBoxes) ex |= LVS_EX_CHECKBOXES;
    if (options.fullRowSelect) ex |= LVS_EX_FULLROWSELECT;
    if (ex) SendMessageA(handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, ex, ex);
}

ListView::~ListView() {
    // The control must not use the list after it is freed, and it does not
    // free a list it was given without LVS_SHAREIMAGELISTS itself.
    if (images_) SendMessageA(handle(), LVM_SETIMAGELIST, LVSIL_SMALL, 0);
}

void ListView::addColumn(const std::string& caption, int width) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(caption.c_str());
    column.cx = toPixels(width < 0 ? 100 : width);
    column.iSubItem = columns_;
    SendMessageA(handle(), LVM_INSERTCOLUMNA, columns_, reinterpret_cast<LPARAM>(&column));
    if (width < 0) SendMessageA(handle(), LVM_SETCOLUMNWIDTH, columns_, LVSCW_AUTOSIZE_USEHEADER);
    ++columns_;
}

void ListView::autoSizeColumns() {
    for (int i = 0; i < columns_; ++i)
        SendMessageA(handle(), LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE_USEHEADER);
}

int ListView::addItem(const std::string& caption, int indent, int image) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_INDENT | LVIF_IMAGE;
    item.iItem = count();
    item.pszText = const_cast<char*>(caption.c_str());
    item.iIndent = indent;
    item.iImage = image < 0 ? I_IMAGENONE : image;
    return static_cast<int>(
        SendMessageA(handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListView::setSubItem(int index, int column, const std::string& text) {
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(handle(), LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
}

std::string ListView::itemText(int index, int column) const {
    std::vector<char> buffer(1024, '\0');
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    SendMessageA(handle(), LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    return std::string(buffer.data());
}

int ListView::indent(int index) const {
    LVITEMA item = {};
    item.mask = LVIF_INDENT;
    item.iItem = index;
    SendMessageA(handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iIndent;
}

int ListView::image(int index) const {
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    SendMessageA(handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage == I_IMAGENONE ? -1 : item.iImage;
}

void ListView::setChecked(int index, bool checked) {
    LVITEMA item = {};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    SendMessageA(handle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

bool ListView::checked(int index) const {
    const LRESULT state = SendMessageA(handle(), LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK);
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int ListView::count() const {
    return static_cast<int>(SendMessageA(handle(), LVM_GETITEMCOUNT, 0, 0));
}

void ListView::clear() {
    SendMessageA(handle(), LVM_DELETEALLITEMS, 0, 0);
}

void ListView::setSmallImages(ImageList images) {
    SendMessageA(handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.get()));
    images_ = std::move(images);
}

int ListView::selected() const {
    return static_cast<int>(
        SendMessageA(handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ListView::select(int item) {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = 0;
    SendMessageA(handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(item),
                 reinterpret_cast<LPARAM>(&state));
    SendMessageA(handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), FALSE);
}

LRESULT ListView::onNotify(NMHDR* header) {
    if (header->code == LVN_ITEMCHANGED && onSelectionChange) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
        if ((change->uChanged & LVIF_STATE) &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
            onSelectionChange();
    }
    return 0;
}

}  // namespace ui
