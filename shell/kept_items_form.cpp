#include "shell/kept_items_form.h"

#include "common/message_box.h"

namespace sysrepair {

namespace {

ui::WindowOptions formOptions() {
    ui::WindowOptions o;
    o.caption = "Kept Items";
    o.clientWidth = 468;
    o.clientHeight = 300;
    o.frame = ui::Frame::Dialog;
    return o;
}

ui::ListViewOptions listOptions() {
    ui::ListViewOptions o;
    o.report = true;
    o.fullRowSelect = true;
    return o;
}

const char kIntro[] =
    "Mendora never lists these again. Remove an item to have the next scan look at it again.";

}  // namespace

KeptItemsForm::KeptItemsForm()
    : ui::Window(formOptions()),
      IntroLabel(add<ui::Label>(ui::Bounds{8, 8, 452, 28}, kIntro,
                                ui::LabelOptions{ui::Align::Left, true})),
      ItemList(add<ui::ListView>(ui::Bounds{8, 40, 452, 220}, listOptions())),
      RemoveButton(add<ui::Button>(ui::Bounds{136, 268, 97, 25}, "Remove")),
      CloseButton(add<ui::Button>(ui::Bounds{240, 268, 97, 25}, "Close")) {
    ItemList.addColumn("Kept", 80);
    ItemList.addColumn("Item", 350);
    ItemList.onSelectionChange = [this] { RemoveButton.setEnabled(ItemList.selected() >= 0); };
    RemoveButton.onClick = [this] { RemoveButtonClick(); };
    CloseButton.onClick = [this] { close(); };
    setCancelButton(CloseButton);
    setTabOrder({&ItemList, &RemoveButton, &CloseButton});
    setFirstFocus(ItemList);
    onShow = [this] { FormShow(); };
    centre();
}

void KeptItemsForm::FormShow() {
    damaged_ = readKeptItems(list_) == KeptItemsRead::Damaged;
    IntroLabel.setText(damaged_ ? "The list of kept items is damaged and keeps nothing: every "
                                  "scan lists everything it finds. Items you keep from now on "
                                  "start a new list."
                                : kIntro);
    fill();
}

void KeptItemsForm::fill() {
    ItemList.clear();
    for (const KeptItem& item : list_.items()) {
        const int row = ItemList.addItem(keptKindText(item.kind));
        ItemList.setSubItem(row, 1, keptItemText(item));
    }
    if (ItemList.count() > 0) ItemList.select(0);
    RemoveButton.setEnabled(ItemList.selected() >= 0);
    // Remove, disabled with the last item gone, would leave the keyboard
    // nowhere.
    keepFocusUsable();
}

void KeptItemsForm::RemoveButtonClick() {
    const int row = ItemList.selected();
    if (row < 0 || damaged_) return;
    KeepList changed = list_;
    changed.removeAt(static_cast<size_t>(row));
    if (!writeKeptItems(changed)) {
        win::showMessageBox(
            handle(),
            "The item could not be removed: the list " + keptItemsPath() + " could not be written.",
            "Mendora", MB_OK | MB_ICONWARNING);
        return;
    }
    list_ = changed;
    fill();
    if (ItemList.count() > 0) ItemList.select(row < ItemList.count() ? row : ItemList.count() - 1);
}

void showKeptItemsDialog() {
    KeptItemsForm form;
    form.showModal();
}

}  // namespace sysrepair
