#include "shell/task_selection_form.h"

#include "common/ui/layout_scale.h"
#include "scan/task_manager.h"

namespace sysrepair {

namespace {

ui::WindowOptions formOptions() {
    ui::WindowOptions o;
    o.caption = "Mendora";
    o.clientWidth = 358;
    o.clientHeight = 260;
    o.frame = ui::Frame::Dialog;
    o.minimizeBox = true;
    o.maximizeBox = true;
    return o;
}

const ui::FontSpec kVerdana{"Verdana", 8, false};
const ui::FontSpec kVerdanaSmall{"Verdana", 7, false};

}  // namespace

TTaskSelForm::TTaskSelForm(sysrepair::ScanCategoryTarget& target)
    : ui::Window(formOptions()),
      Label1(add<ui::Label>(ui::Bounds{24, 8, 296, 13},
                            "Select the types of problems you want to check for.",
                            ui::LabelOptions{ui::Align::Centre, true})),
      TeListView1(
          add<ui::ListView>(ui::Bounds{8, 24, 345, 201}, ui::ListViewOptions{false, true, false})),
      TeButton1(add<ui::Button>(ui::Bounds{96, 232, 81, 25}, "OK")),
      TeButton2(add<ui::Button>(ui::Bounds{184, 232, 81, 25}, "Cancel")),
      target(target) {
    Label1.setFont(kVerdana);
    TeListView1.setFont(kVerdanaSmall);
    SendMessageA(TeListView1.handle(), LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(TeListView1.handle(), LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
    TeButton1.onClick = [this] { TeButton1Click(); };
    TeButton2.onClick = [this] { TeButton2Click(); };
    setDefaultButton(TeButton1);
    setCancelButton(TeButton2);
    setFirstFocus(TeListView1);
    onShow = [this] { FormShow(); };
    centre();
}

void TTaskSelForm::FormShow() {
    if (listFilled) return;
    sysrepair::TaskManager* tm = sysrepair::TaskManager::instance();
    for (uint32_t i = 0; i < tm->taskCount(); ++i) {
        sysrepair::ITask* task = tm->taskAt(i);
        const int item = TeListView1.addItem(task->name() + " (Fixes " + task->description() + ")");
        TeListView1.setChecked(item, true);
    }
    fitColumnToItems();
    listFilled = true;
}

void TTaskSelForm::fitColumnToItems() {
    // A list-style view cuts every item at one column width, by default far
    // narrower than these captions.
    int widest = 0;
    for (int i = 0; i < TeListView1.count(); ++i) {
        const std::string text = TeListView1.itemText(i);
        const int width = static_cast<int>(SendMessageA(TeListView1.handle(), LVM_GETSTRINGWIDTHA,
                                                        0, reinterpret_cast<LPARAM>(text.c_str())));
        if (width > widest) widest = width;
    }
    // Room for the check box and the gaps around the text.
    SendMessageA(TeListView1.handle(), LVM_SETCOLUMNWIDTH, 0, widest + ui::toPixels(32));
}

void TTaskSelForm::TeButton1Click() {
    sysrepair::TaskManager* tm = sysrepair::TaskManager::instance();
    std::vector<sysrepair::ITask*> checked;
    // Item i stands for the task manager's category i.
    for (int i = 0; i < TeListView1.count(); ++i) {
        sysrepair::ITask* task = tm->taskAt(static_cast<uint32_t>(i));
        if (task && TeListView1.checked(i)) checked.push_back(task);
    }
    target.setScanCategories(checked);
    close();
}

void TTaskSelForm::TeButton2Click() {
    close();
}

}  // namespace sysrepair
