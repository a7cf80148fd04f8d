#include "common/ui/tree_view.h"

namespace ui {

TreeView::TreeView(Container& parent, const Bounds& b)
    : Control(parent, WC_TREEVIEWA, "",
              WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                  TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
              WS_EX_CLIENTEDGE, b) {}

namespace {

TreeNode insertNode(HWND tree, TreeNode parent, const std::string& text) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
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

TreeNode TreeView::addRoot(const std::string& text) {
    return insertNode(handle(), nullptr, text);
}

TreeNode TreeView::addChild(TreeNode parent, const std::string& text) {
    const TreeNode node = insertNode(handle(), parent, text);
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

}  // namespace ui
