#include "sysinfo/window/ddi_form.h"

#include "common/message_box.h"
#include "common/ui/application.h"
#include "common/ui/menu_bar.h"
#include "sysinfo/device_catalog.h"
#include "sysinfo/resource_lines.h"
#include "sysinfo/window/sysinfo_resources.h"

namespace sysinfo {

namespace {

// A configuration manager that fails every index the same way would keep
// the class loop going for ever; after this many failures in a row the
// list is taken as complete.
constexpr int kFailuresInARowThatEndTheList = 64;

constexpr size_t kInterruptHeaderSize =
    sizeof(void*) == 8 ? sysinfo::kInterruptHeaderSize64 : sysinfo::kInterruptHeaderSize32;

ui::WindowOptions deviceWindowOptions() {
    ui::WindowOptions o;
    o.caption = "System Information";
    o.clientWidth = 461;
    o.clientHeight = 487;
    o.frame = ui::Frame::Dialog;
    o.maximizeBox = false;
    return o;
}

ui::LabelOptions wrapped() {
    return ui::LabelOptions{ui::Align::Left, true};
}

const ui::Bounds kLabelInGroup{6, 14, 207, 33};

}  // namespace

TddiForm::TddiForm()
    : ui::Window(deviceWindowOptions()),
      deviceInfoGroup(add<ui::GroupBox>(ui::Bounds{8, 32, 217, 49}, "Device Info")),
      deviceInfoLabel(add<ui::Label>(deviceInfoGroup.inside(kLabelInGroup),
                                     "Devices on your computer. Click a device to see more.",
                                     wrapped())),
      deviceInfoListGroup(add<ui::GroupBox>(ui::Bounds{238, 32, 217, 49}, "Device Info List")),
      deviceInfoListLabel(add<ui::Label>(
          deviceInfoListGroup.inside(kLabelInGroup),
          "Devices matching the criteria selected in the main \"Devices List\".", wrapped())),
      devicesGroup(add<ui::GroupBox>(ui::Bounds{8, 96, 217, 385}, "Devices")),
      TeListBox1(add<ui::ListBox>(devicesGroup.inside(ui::Bounds{8, 16, 201, 361}))),
      resourcesGroup(add<ui::GroupBox>(ui::Bounds{238, 96, 217, 153}, "Device Resources")),
      TeMemo1(add<ui::Memo>(resourcesGroup.inside(ui::Bounds{8, 16, 201, 129}))),
      resourceListGroup(add<ui::GroupBox>(ui::Bounds{238, 248, 217, 49}, "Device Resource List")),
      resourceListLabel(add<ui::Label>(
          resourceListGroup.inside(kLabelInGroup),
          "Shows current resources for device selected in \"Device Info Box\" ", wrapped())),
      GroupBox1(add<ui::GroupBox>(ui::Bounds{238, 304, 217, 169}, "Device Info")),
      TeListBox2(add<ui::ListBox>(GroupBox1.inside(ui::Bounds{8, 16, 201, 145}))) {
    ui::Menu& file = menuBar().addMenu("File");
    file.addItem("Exit", [this] { CustomItem2Click(); });
    if (HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(SYSINFO_DEVICES_ICON)))
        setIcon(icon);
    TeMemo1.appendLine("Waiting for Device to be ");
    TeMemo1.appendLine("chosen...");
    TeMemo1.appendLine("");
    TeListBox2.addLine("Waiting for Device to be chosen...");
    centre();

    onShow = [this] { FormShow(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    TeListBox1.onSelect = [this] { TeListBox1Click(); };
    TeListBox2.onSelect = [this] { TeListBox2Click(); };
}

TddiForm::~TddiForm() = default;

void TddiForm::FormShow() {
    form2_ = std::make_unique<TForm2>();
    form2_->setOwner(handle());
    setPosition(left(), ui::Application::screenHeight() / 2 - height() / 2);
    if (!cm_.load()) {
        win::showMessageBox(handle(), "cfgmgr32", ui::Application::title(), MB_OK);
        ui::Application::terminate();
        return;
    }
    releaseClassNames();
    const ClassList classes(cm_);
    const ULONG total = classes.count();
    form2_->setProgress(0);
    form2_->show();
    int failuresInARow = 0;
    for (ULONG index = 0; failuresInARow < kFailuresInARowThatEndTheList; ++index) {
        DeviceClass found;
        const ClassStep step = classAt(classes, index, found);
        if (step == ClassStep::End) break;
        if (step == ClassStep::Failed) {
            ++failuresInARow;
            continue;
        }
        failuresInARow = 0;
        if (step == ClassStep::NoDevice) continue;
        classNames_.push_back(found.name);
        TeListBox1.addLine(found.description, static_cast<intptr_t>(classNames_.size() - 1));
        const int progress = total == 0 ? 0 : static_cast<int>((index + 1) * 100ull / total);
        form2_->setProgress(progress);
        RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    form2_->hide();
    setPosition(ui::Application::screenWidth() / 2 - width() / 2, top());
}

std::string TddiForm::classNameOf(int line) const {
    if (line < 0 || line >= TeListBox1.count()) return {};
    const intptr_t at = TeListBox1.data(line);
    if (at < 0 || static_cast<size_t>(at) >= classNames_.size()) return {};
    return classNames_[static_cast<size_t>(at)];
}

void TddiForm::TeListBox1Click() {
    const int line = TeListBox1.itemIndex();
    if (line < 0 || !form2_) return;
    TeListBox2.clear();
    TeMemo1.clear();
    TeMemo1.appendLine("Waiting for Device to be chosen...");
    EnableWindow(handle(), FALSE);

    const std::string className = classNameOf(line);
    GroupBox1.setText(className);
    chosenClass_ = className;

    form2_->setProgress(0);
    form2_->show();
    DWORD count = 0;
    for (;; ++count) {
        const DeviceStep step = deviceAt(className, count, nullptr);
        form2_->repaint();
        if (step == DeviceStep::NoClassGuid)
            win::showMessageBox(handle(), "Required Size is 0", className, MB_OK);
        if (step == DeviceStep::GuidFailure)
            win::showMessageBox(handle(), "Class Name Failure", "EnumDev", MB_OK);
        if (step != DeviceStep::Found) break;
    }
    for (DWORD index = 0;; ++index) {
        std::string name;
        if (deviceAt(className, index, &name) != DeviceStep::Found) break;
        if (name.empty()) continue;
        TeListBox2.addLine(name, static_cast<intptr_t>(index));
        RedrawWindow(TeListBox2.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        form2_->setProgress(count == 0 ? 100 : static_cast<int>(index * 100ull / count));
    }
    EnableWindow(handle(), TRUE);
    form2_->hide();
}

void TddiForm::TeListBox2Click() {
    const int line = TeListBox2.itemIndex();
    if (line < 0 || chosenClass_.empty()) return;
    const DWORD device = static_cast<DWORD>(TeListBox2.data(line));
    TeMemo1.clear();
    sysinfo::ResourceListing listing(kInterruptHeaderSize);
    listDeviceResources(cm_, chosenClass_, device, listing);
    for (const std::string& text : listing.lines()) TeMemo1.appendLine(text);
    if (!listing.found()) TeMemo1.appendLine("This device is resource free");
}

bool TddiForm::FormCloseQuery() {
    form2_.reset();
    releaseClassNames();
    return true;
}

void TddiForm::CustomItem2Click() {
    close();
}

void TddiForm::releaseClassNames() {
    TeListBox1.clear();
    classNames_.clear();
}

}  // namespace sysinfo
