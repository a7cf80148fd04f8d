// "Kept Items": what the user keeps for good, which no scan lists, with the
// way to remove items so that scans look at them again.
#pragma once

#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/list_view.h"
#include "common/ui/window.h"
#include "scan/kept_items.h"

namespace sysrepair {

class KeptItemsForm : public ui::Window {
public:
    KeptItemsForm();

    void FormShow();
    // Removes the selected item from the stored list.
    void RemoveButtonClick();

    ui::Label& IntroLabel;
    ui::ListView& ItemList;
    ui::Button& RemoveButton;
    ui::Button& CloseButton;

private:
    void fill();

    KeepList list_;
    bool damaged_ = false;
};

// Shows the dialog modally over the main window.
void showKeptItemsDialog();

}  // namespace sysrepair
