// A list view in report style (columns, sub-items, indent, images) or list
// style, optionally with check boxes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <functional>

#include "common/ui/control.h"
#include "common/ui/image_list.h"

namespace ui {

struct ListViewOptions {
    bool report = true;  // columns; otherwise list style
    bool checkBoxes = false;
    bool fullRowSelect = false;
};

class ListView : public Control {
public:
    ListView(Container& parent, const Bounds& b, ListViewOptions options = {});
    ~ListView() override;

    // A width of -1 sizes the column to its contents.
    void addColumn(const std::string& caption, int width = -1);
    // Sizes every column to the wider of its contents and its caption.
    void autoSizeColumns();
    // Appends an item; returns its index. An image of -1 shows none.
    int addItem(const std::string& caption, int indent = 0, int image = -1);
    void setSubItem(int item, int column, const std::string& text);
    std::string itemText(int item, int column = 0) const;
    int indent(int item) const;
    int image(int item) const;
    void setChecked(int item, bool checked);
    bool checked(int item) const;
    int count() const;
    void clear();
    // The small images of the items, kept as long as the list view.
    void setSmallImages(ImageList images);
    // The selected item, or -1.
    int selected() const;
    // Selects the item (and gives it the focus rectangle), the others not.
    void select(int item);
    // After the selection changed, by the user or by select().
    std::function<void()> onSelectionChange;
    LRESULT onNotify(NMHDR* header) override;

private:
    ImageList images_;
    int columns_ = 0;
};

}  // namespace ui
