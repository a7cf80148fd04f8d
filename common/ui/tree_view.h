// A read-only tree of text nodes, optionally with a check box on each.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/ui/control.h"

namespace ui {

using TreeNode = HTREEITEM;

struct TreeViewOptions {
    bool checkBoxes = false;
    bool infoTips = false;  // a tooltip from tipFor when the pointer rests on a node
};

class TreeView : public Control {
public:
    TreeView(Container& parent, const Bounds& b, TreeViewOptions options = {});
    TreeNode addRoot(const std::string& text, LPARAM data = 0, bool checked = false);
    TreeNode addChild(TreeNode parent, const std::string& text, LPARAM data = 0,
                      bool checked = false);
    // Removes the node and everything below it.
    void remove(TreeNode node);
    LPARAM nodeData(TreeNode node) const;
    TreeNode parentOf(TreeNode node) const;
    bool checked(TreeNode node) const;
    void setChecked(TreeNode node, bool checked);
    // The selected node, or none; selecting also brings it into view.
    TreeNode selected() const;
    void select(TreeNode node);
    // The node under a point of the screen, or none.
    TreeNode nodeAt(POINT screen) const;

    // After the selection changed.
    std::function<void()> onSelectionChange;
    // After the user ticked or unticked a node's box (a click on it, or the
    // space bar on the selected node), with the new state in place.
    std::function<void(TreeNode)> onCheckToggled;
    // A right click on a node, which is selected first; the point is on the
    // screen.
    std::function<void(TreeNode, POINT)> onContextMenu;
    // The tooltip of a node (with infoTips).
    std::function<std::string(TreeNode)> tipFor;
    LRESULT onNotify(NMHDR* header) override;
    // Expands the node, and with `all` every node below it.
    void expand(TreeNode node, bool all);
    bool expanded(TreeNode node) const;
    void clear();
    std::string nodeText(TreeNode node) const;
    // Children of the node in order; none gives the root nodes.
    int childCount(TreeNode node) const;
    TreeNode child(TreeNode node, int index) const;

private:
    // Nodes that have children, and per node (none for the top level) its
    // children that do: expanding a whole branch then visits only those. The
    // control checks every node handle it is given against all its items, so
    // asking it about each of 100,000 leaves took seconds.
    std::unordered_set<TreeNode> parents_;
    std::unordered_map<TreeNode, std::vector<TreeNode>> branches_;
    // The control changes a box after it told of the click or key: the
    // change is looked at once it is made, while the tree still exists.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    void toggledLater(TreeNode node);
    std::string tip_;
};

}  // namespace ui
