// "System Information": the device classes that have a device present, the
// devices of the chosen class and the resources of the chosen device.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/ui/group_box.h"
#include "common/ui/label.h"
#include "common/ui/list_box.h"
#include "common/ui/memo.h"
#include "common/ui/window.h"
#include "sysinfo/config_manager.h"
#include "sysinfo/window/wait_form.h"

namespace sysinfo {

class TddiForm : public ui::Window {
public:
    TddiForm();
    ~TddiForm() override;

    void FormShow();
    void TeListBox1Click();
    void TeListBox2Click();
    bool FormCloseQuery();
    void CustomItem2Click();  // File > Exit

    // The class name of a line of the class list; empty for none.
    std::string classNameOf(int line) const;
    // The wait window while the device window is open, or none.
    TForm2* waitForm() const { return form2_.get(); }

    ui::GroupBox& deviceInfoGroup;
    ui::Label& deviceInfoLabel;
    ui::GroupBox& deviceInfoListGroup;
    ui::Label& deviceInfoListLabel;
    ui::GroupBox& devicesGroup;
    ui::ListBox& TeListBox1;
    ui::GroupBox& resourcesGroup;
    ui::Memo& TeMemo1;
    ui::GroupBox& resourceListGroup;
    ui::Label& resourceListLabel;
    ui::GroupBox& GroupBox1;
    ui::ListBox& TeListBox2;

private:
    void releaseClassNames();

    ConfigManager cm_;
    std::unique_ptr<TForm2> form2_;
    // The class names of the class list's lines, owned here; a line carries
    // its position in this list.
    std::vector<std::string> classNames_;
    std::string chosenClass_;
};

}  // namespace sysinfo
