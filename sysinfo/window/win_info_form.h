// "Windows Information": a read-only report about the running Windows,
// filled at the first show and kept. Its menu opens the device window.
#pragma once

#include "common/ui/list_view.h"
#include "common/ui/window.h"
#include "sysinfo/window/ddi_form.h"

namespace sysinfo {

class TWinInfoForm1 : public ui::Window {
public:
    explicit TWinInfoForm1(TddiForm& deviceWindow);

    void FormShow();
    void CustomItem2Click();  // File > Exit
    void AdvancedSystemInfoClick();

    ui::ListView& TeListView1;

private:
    void fill();

    TddiForm& deviceWindow_;
    // One window per program, so this is the program's "filled once" flag.
    bool filled_ = false;
};

}  // namespace sysinfo
