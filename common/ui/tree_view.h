// A read-only tree of text nodes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/ui/control.h"

namespace ui {

using TreeNode = HTREEITEM;

class TreeView : public Control {
public:
    TreeView(Container& parent, const Bounds& b);
    TreeNode addRoot(const std::string& text);
    TreeNode addChild(TreeNode parent, const std::string& text);
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
};

}  // namespace ui
