// A read-only tree of text nodes.
#pragma once

#include <windows.h>

#include <commctrl.h>

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
};

}  // namespace ui
