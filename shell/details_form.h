// The problem report: the problems found, one root node per category with the
// category's entries below it. A fresh dialog is made for each report.
#pragma once

#include <vector>

#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/tree_view.h"
#include "common/ui/window.h"
#include "scan/task.h"

namespace sysrepair {

class TScanDetailsForm : public ui::Window {
public:
    TScanDetailsForm();

    // The categories to show, in order; the categories keep owning their
    // entries.
    void setReportTasks(const std::vector<sysrepair::ITask*>& tasks) { reportTasks = tasks; }

    void FormShow();
    void TeButton1Click();

    ui::Label& Label1;
    ui::TreeView& TeTreeView1;
    ui::Button& TeButton1;

private:
    std::vector<sysrepair::ITask*> reportTasks;
};

// Whether a problem's display text belongs in the report: the suite's own
// registry key is left out.
bool belongsInReport(const std::string& displayText);

}  // namespace sysrepair
