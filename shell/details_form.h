// The problem report: the problems found, one root node per category with the
// category's entries below it, each with a check box (ticked: repaired by
// Make Repairs), why it was found, the space the files take, and the way to
// keep a problem, its folder, key or file type for good. A fresh dialog is
// made for each report.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/ui/button.h"
#include "common/ui/label.h"
#include "common/ui/tree_view.h"
#include "common/ui/window.h"
#include "scan/keep_list.h"
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
    // "Always Keep...": what may be kept of the selected problem, offered in
    // a menu below the button.
    void KeepButtonClick();

    // The problem a node stands for, or none (a category's node).
    TaskEntry* entryOf(ui::TreeNode node) const;
    // The reason shown for a node: why a problem was found; what a category
    // comes to.
    std::string reasonOf(ui::TreeNode node) const;
    // Keeps the item for good: adds it to the stored list, leaves what it
    // keeps alone in this repair and takes it out of the report. False, with
    // the user told, when the list could not be written.
    bool keepForGood(const KeptItem& item);

    // Chooses one of the texts from a menu at a point of the screen; -1 for
    // none. The real menu unless a test replaces it.
    std::function<int(const std::vector<std::string>&, POINT)> chooseFromMenu;

    ui::Label& Label1;
    ui::TreeView& TeTreeView1;
    ui::Label& ReasonLabel;
    ui::Label& SpaceLabel;
    ui::Button& KeepButton;
    ui::Button& TeButton1;

private:
    struct Row {
        TaskEntry* entry = nullptr;
        size_t category = 0;
        ui::TreeNode node = nullptr;
    };
    struct CategoryRows {
        ITask* task = nullptr;
        ui::TreeNode node = nullptr;
        std::vector<size_t> rows;
    };

    void checkToggled(ui::TreeNode node);
    void setChosen(size_t row, bool chosen);
    void refreshCategoryCheck(size_t category);
    void refreshTexts();
    // The rows found as one problem with the row (a key and its tree).
    std::vector<size_t> problemRows(size_t row) const;
    // The entry that names the problem of a row: its key for a key's tree.
    const TaskEntry& problemEntry(size_t row) const;
    void offerKeepChoices(ui::TreeNode node, POINT at);

    std::vector<sysrepair::ITask*> reportTasks;
    std::vector<Row> rows_;
    std::vector<CategoryRows> categories_;
    // Rows of entries that share a reason with others, by that reason.
    std::unordered_map<const std::string*, std::vector<size_t>> groups_;
};

// Whether a problem's display text belongs in the report: the suite's own
// registry key is left out.
bool belongsInReport(const std::string& displayText);

}  // namespace sysrepair
