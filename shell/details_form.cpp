#include "shell/details_form.h"

#include "common/suite_registry.h"
#include "scan/task_entry.h"

namespace sysrepair {

namespace {

ui::WindowOptions formOptions() {
    ui::WindowOptions o;
    o.caption = "Detected Problems Report";
    o.clientWidth = 468;
    o.clientHeight = 416;
    o.frame = ui::Frame::Dialog;
    o.minimizeBox = true;
    o.maximizeBox = true;
    return o;
}

}  // namespace

bool belongsInReport(const std::string& displayText) {
    return displayText.find(win::kMakerName) == std::string::npos;
}

TScanDetailsForm::TScanDetailsForm()
    : ui::Window(formOptions()),
      Label1(add<ui::Label>(ui::Bounds{0, 0, 473, 14}, "Detected Problems Report",
                            ui::LabelOptions{ui::Align::Centre, false})),
      TeTreeView1(add<ui::TreeView>(ui::Bounds{8, 24, 449, 353})),
      TeButton1(add<ui::Button>(ui::Bounds{184, 384, 97, 25}, "Close")) {
    Label1.setFont(ui::FontSpec{"Verdana", 8, true});
    Label1.setFontColour(RGB(128, 128, 0));
    TreeView_SetBkColor(TeTreeView1.handle(), RGB(255, 255, 255));
    TeButton1.onClick = [this] { TeButton1Click(); };
    setDefaultButton(TeButton1);
    setCancelButton(TeButton1);
    setFirstFocus(TeTreeView1);
    onShow = [this] { FormShow(); };
    centre();
}

void TScanDetailsForm::FormShow() {
    // A second showing lists the entries as they are now, not twice.
    TeTreeView1.clear();
    std::vector<sysrepair::TaskEntry*> entries;
    bool first = true;
    for (sysrepair::ITask* task : reportTasks) {
        if (!task) continue;
        task->getEntries(entries);
        const ui::TreeNode root = TeTreeView1.addRoot(task->description());
        for (const sysrepair::TaskEntry* entry : entries) {
            const std::string text = sysrepair::displayText(*entry);
            if (belongsInReport(text)) TeTreeView1.addChild(root, text);
        }
        if (first) TeTreeView1.expand(root, true);
        first = false;
    }
}

void TScanDetailsForm::TeButton1Click() {
    close();
}

}  // namespace sysrepair
