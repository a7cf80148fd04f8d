#include "common/ui/tree_view.h"

#include <cstring>

#include "common/ui/synchronize.h"

namespace ui {

TreeView::TreeView(Container& parent, const Bounds& b, TreeViewOptions options)
    : Control(parent, WC_TREEVIEWA, "",
              WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                  TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP | (options.infoTips ? TVS_INFOTIP : 0),
              WS_EX_CLIENTEDGE, b) {
    // Check boxes are asked for after the control is made, before it holds
    // any node: the control then makes their pictures.
    if (options.checkBoxes)
        SetWindowLongPtrA(handle(), GWL_STYLE,
                          GetWindowLongPtrA(handle(), GWL_STYLE) | TVS_CHECKBOXES);
}

namespace {

UINT checkState(bool checked) {
    return INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
}

TreeNode insertNode(HWND tree, TreeNode parent, const std::string& text, LPARAM data,
                    bool checked) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text.c_str());
    insert.item.lParam = data;
    if (GetWindowLongPtrA(tree, GWL_STYLE) & TVS_CHECKBOXES) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = checkState(checked);
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
    }
    return reinterpret_cast<TreeNode>(
        SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

TreeNode firstChild(HWND tree, TreeNode node) {
    return reinterpret_cast<TreeNode>(SendMessageA(
        tree, TVM_GETNEXTITEM, node ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(node)));
}

TreeNode nextSibling(HWND tree, TreeNode node) {
    return reinterpret_cast<TreeNode>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(node)));
}

}  // namespace

TreeNode TreeView::addRoot(const std::string& text, LPARAM data, bool checked) {
    return insertNode(handle(), nullptr, text, data, checked);
}

TreeNode TreeView::addChild(TreeNode parent, const std::string& text, LPARAM data, bool checked) {
    const TreeNode node = insertNode(handle(), parent, text, data, checked);
    if (node && parent && parents_.insert(parent).second) {
        const TreeNode above = reinterpret_cast<TreeNode>(
            SendMessageA(handle(), TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(parent)));
        branches_[above].push_back(parent);
    }
    return node;
}

void TreeView::expand(TreeNode node, bool all) {
    if (!node) return;
    SendMessageA(handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    if (!all) return;
    const auto below = branches_.find(node);
    if (below == branches_.end()) return;
    for (TreeNode branch : below->second) expand(branch, true);
}

bool TreeView::expanded(TreeNode node) const {
    const LRESULT state =
        SendMessageA(handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED);
    return (state & TVIS_EXPANDED) != 0;
}

void TreeView::clear() {
    SendMessageA(handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    parents_.clear();
    branches_.clear();
}

std::string TreeView::nodeText(TreeNode node) const {
    char buffer[1024] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int TreeView::childCount(TreeNode node) const {
    int n = 0;
    for (TreeNode c = firstChild(handle(), node); c; c = nextSibling(handle(), c)) ++n;
    return n;
}

TreeNode TreeView::child(TreeNode node, int index) const {
    TreeNode c = firstChild(handle(), node);
    for (int i = 0; c && i < index; ++i) c = nextSibling(handle(), c);
    return c;
}

void TreeView::remove(TreeNode node) {
    if (node) SendMessageA(handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node));
}

LPARAM TreeView::nodeData(TreeNode node) const {
    TVITEMA item = {};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    if (!SendMessageA(handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
}

TreeNode TreeView::parentOf(TreeNode node) const {
    return reinterpret_cast<TreeNode>(
        SendMessageA(handle(), TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(node)));
}

bool TreeView::checked(TreeNode node) const {
    const LRESULT state = SendMessageA(handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node),
                                       TVIS_STATEIMAGEMASK);
    return (state & TVIS_STATEIMAGEMASK) == checkState(true);
}

void TreeView::setChecked(TreeNode node, bool checked) {
    TVITEMA item = {};
    item.mask = TVIF_STATE;
    item.hItem = node;
    item.state = checkState(checked);
    item.stateMask = TVIS_STATEIMAGEMASK;
    SendMessageA(handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

TreeNode TreeView::selected() const {
    return reinterpret_cast<TreeNode>(SendMessageA(handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void TreeView::select(TreeNode node) {
    SendMessageA(handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    SendMessageA(handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
}

TreeNode TreeView::nodeAt(POINT screen) const {
    TVHITTESTINFO hit = {};
    hit.pt = screen;
    ScreenToClient(handle(), &hit.pt);
    SendMessageA(handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & TVHT_ONITEM) ? hit.hItem : nullptr;
}

void TreeView::toggledLater(TreeNode node) {
    if (!node || !onCheckToggled) return;
    std::weak_ptr<bool> alive = alive_;
    post([this, alive, node] {
        if (!alive.expired() && onCheckToggled) onCheckToggled(node);
    });
}

LRESULT TreeView::onNotify(NMHDR* header) {
    switch (header->code) {
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            if (onSelectionChange) onSelectionChange();
            return 0;
        case NM_CLICK: {
            const DWORD at = GetMessagePos();
            TVHITTESTINFO hit = {};
            hit.pt = POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
            ScreenToClient(handle(), &hit.pt);
            SendMessageA(handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.flags & TVHT_ONITEMSTATEICON) toggledLater(hit.hItem);
            return 0;
        }
        case TVN_KEYDOWN:
            if (reinterpret_cast<NMTVKEYDOWN*>(header)->wVKey == VK_SPACE) toggledLater(selected());
            return 0;
        case NM_RCLICK: {
            const DWORD at = GetMessagePos();
            const POINT screen{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
            const TreeNode node = nodeAt(screen);
            if (!node || !onContextMenu) return 0;
            select(node);
            onContextMenu(node, screen);
            return 1;  // no context menu of the control's own
        }
        case TVN_GETINFOTIPA: {
            auto* tip = reinterpret_cast<NMTVGETINFOTIPA*>(header);
            if (!tipFor || !tip->pszText || tip->cchTextMax <= 0) return 0;
            tip_ = tipFor(tip->hItem);
            const size_t room = static_cast<size_t>(tip->cchTextMax) - 1;
            const size_t length = tip_.size() < room ? tip_.size() : room;
            std::memcpy(tip->pszText, tip_.data(), length);
            tip->pszText[length] = '\0';
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace ui
