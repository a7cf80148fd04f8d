// The dialog in which the user chooses the problem categories a scan covers.
// One instance serves the whole run of the program: its items are made at the
// first showing and keep the user's check marks from one showing to the next.
#pragma once

#include <vector>

#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/list_view.h"
#include "common/ui/window.h"
#include "scan/task.h"
#include "shell/scan_category_target.h"

namespace sysrepair {

class TTaskSelForm : public ui::Window {
public:
    // The target receives the checked categories when the user presses OK.
    explicit TTaskSelForm(sysrepair::ScanCategoryTarget& target);

    void FormShow();
    // OK: hands the checked categories to the target and closes.
    void TeButton1Click();
    // Cancel: closes; the target's list stays, the check marks stay as left.
    void TeButton2Click();

    ui::Label& Label1;
    ui::ListView& TeListView1;
    ui::Button& TeButton1;
    ui::Button& TeButton2;

private:
    void fitColumnToItems();

    sysrepair::ScanCategoryTarget& target;
    // Whether the items were made; they are made once.
    bool listFilled = false;
};

}  // namespace sysrepair
