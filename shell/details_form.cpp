#include "shell/details_form.h"

#include <algorithm>
#include <iterator>

#include "common/message_box.h"
#include "common/suite_registry.h"
#include "common/win_handles.h"
#include "repair/restore_run.h"
#include "scan/kept_items.h"
#include "scan/problem_reason.h"
#include "scan/task_entry.h"
#include "shell/problem_space.h"

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

ui::TreeViewOptions treeOptions() {
    ui::TreeViewOptions o;
    o.checkBoxes = true;
    o.infoTips = true;
    return o;
}

int chooseFromPopupMenu(HWND owner, const std::vector<std::string>& texts, POINT at) {
    win::Menu menu(CreatePopupMenu());
    if (!menu) return -1;
    for (size_t i = 0; i < texts.size(); ++i)
        AppendMenuA(menu.get(), MF_STRING, i + 1, texts[i].c_str());
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                      at.x, at.y, 0, owner, nullptr);
    return chosen - 1;
}

std::string keepChoiceText(const KeptItem& item) {
    switch (item.kind) {
        case KeptKind::Problem:
            return "This Problem: " + keptItemText(item);
        case KeptKind::Folder:
            return "The Folder " + keptItemText(item);
        case KeptKind::Key:
            return "The Key " + keptItemText(item);
        case KeptKind::FileType:
            return "Every " + keptItemText(item) + " File";
    }
    return std::string();
}

}  // namespace

bool belongsInReport(const std::string& displayText) {
    return displayText.find(win::kMakerName) == std::string::npos;
}

TScanDetailsForm::TScanDetailsForm()
    : ui::Window(formOptions()),
      Label1(add<ui::Label>(ui::Bounds{0, 0, 473, 14}, "Detected Problems Report",
                            ui::LabelOptions{ui::Align::Centre, false})),
      TeTreeView1(add<ui::TreeView>(ui::Bounds{8, 24, 449, 273}, treeOptions())),
      ReasonLabel(
          add<ui::Label>(ui::Bounds{8, 302, 449, 42}, "", ui::LabelOptions{ui::Align::Left, true})),
      SpaceLabel(
          add<ui::Label>(ui::Bounds{8, 350, 449, 28}, "", ui::LabelOptions{ui::Align::Left, true})),
      KeepButton(add<ui::Button>(ui::Bounds{128, 384, 105, 25}, "Always Keep...")),
      TeButton1(add<ui::Button>(ui::Bounds{240, 384, 97, 25}, "Close")) {
    Label1.setFont(ui::FontSpec{"Verdana", 8, true});
    Label1.setFontColour(RGB(128, 128, 0));
    TreeView_SetBkColor(TeTreeView1.handle(), RGB(255, 255, 255));
    TeButton1.onClick = [this] { TeButton1Click(); };
    KeepButton.onClick = [this] { KeepButtonClick(); };
    TeTreeView1.onCheckToggled = [this](ui::TreeNode node) { checkToggled(node); };
    TeTreeView1.onSelectionChange = [this] { refreshTexts(); };
    TeTreeView1.onContextMenu = [this](ui::TreeNode node, POINT at) {
        if (entryOf(node)) offerKeepChoices(node, at);
    };
    TeTreeView1.tipFor = [this](ui::TreeNode node) {
        const TaskEntry* entry = entryOf(node);
        return entry ? problemReason(*entry) : std::string();
    };
    chooseFromMenu = [this](const std::vector<std::string>& texts, POINT at) {
        return chooseFromPopupMenu(handle(), texts, at);
    };
    setDefaultButton(TeButton1);
    setCancelButton(TeButton1);
    setTabOrder({&TeTreeView1, &KeepButton, &TeButton1});
    setFirstFocus(TeTreeView1);
    onShow = [this] { FormShow(); };
    centre();
}

void TScanDetailsForm::FormShow() {
    // A second showing lists the entries as they are now, not twice.
    TeTreeView1.clear();
    rows_.clear();
    categories_.clear();
    groups_.clear();
    std::vector<sysrepair::TaskEntry*> entries;
    for (sysrepair::ITask* task : reportTasks) {
        if (!task) continue;
        task->getEntries(entries);
        CategoryRows category;
        category.task = task;
        category.node = TeTreeView1.addRoot(task->description(), 0, true);
        for (sysrepair::TaskEntry* entry : entries) {
            const std::string text = sysrepair::displayText(*entry);
            if (!belongsInReport(text)) continue;
            Row row;
            row.entry = entry;
            row.category = categories_.size();
            const size_t index = rows_.size();
            row.node = TeTreeView1.addChild(category.node, text, static_cast<LPARAM>(index + 1),
                                            !entry->leftAlone);
            rows_.push_back(row);
            category.rows.push_back(index);
            if (entry->reason()) groups_[entry->reason()].push_back(index);
        }
        categories_.push_back(std::move(category));
        refreshCategoryCheck(categories_.size() - 1);
    }
    // Only entries found together form a problem of several rows.
    for (auto group = groups_.begin(); group != groups_.end();)
        group = group->second.size() > 1 ? std::next(group) : groups_.erase(group);
    if (!categories_.empty()) {
        TeTreeView1.expand(categories_[0].node, true);
        TeTreeView1.select(categories_[0].node);
    }
    refreshTexts();
}

TaskEntry* TScanDetailsForm::entryOf(ui::TreeNode node) const {
    if (!node) return nullptr;
    const LPARAM data = TeTreeView1.nodeData(node);
    if (data <= 0 || static_cast<size_t>(data) > rows_.size()) return nullptr;
    return rows_[static_cast<size_t>(data) - 1].entry;
}

std::vector<size_t> TScanDetailsForm::problemRows(size_t row) const {
    const TaskEntry* entry = rows_[row].entry;
    if (entry->reason()) {
        const auto group = groups_.find(entry->reason());
        if (group != groups_.end()) return group->second;
    }
    return {row};
}

const TaskEntry& TScanDetailsForm::problemEntry(size_t row) const {
    // A key's tree is named by its key: the key entry nearest the root.
    const TaskEntry* named = rows_[row].entry;
    for (size_t member : problemRows(row)) {
        const TaskEntry* e = rows_[member].entry;
        if (e->type == EntryRegKey &&
            (named->type != EntryRegKey || e->keyPath().size() < named->keyPath().size()))
            named = e;
    }
    return *named;
}

std::string TScanDetailsForm::reasonOf(ui::TreeNode node) const {
    if (const TaskEntry* entry = entryOf(node)) {
        const size_t row = static_cast<size_t>(TeTreeView1.nodeData(node)) - 1;
        // Where it is in full (the tree shows a file by its name), then why.
        const std::string reason = problemReason(*entry);
        const TaskEntry& named = problemEntry(row);
        std::string text = entryLocation(*entry) + "\r\n";
        if (&named != entry)
            return text + "Found with the key " + named.rootName() + "\\" + named.keyPath() + ": " +
                   reason + ".";
        return reason.empty() ? text : text + "Found because " + reason + ".";
    }
    for (const CategoryRows& category : categories_) {
        if (category.node != node) continue;
        const std::vector<CategorySpace> space = spaceOf({category.task});
        std::string text = space[0].problems == space[0].chosen
                               ? std::to_string(space[0].problems) + " problems, all chosen"
                               : std::to_string(space[0].chosen) + " of " +
                                     std::to_string(space[0].problems) + " problems chosen";
        if (space[0].bytes != 0)
            text += "; the files take " + byteCountText(space[0].bytes) + ", the chosen ones " +
                    byteCountText(space[0].chosenBytes);
        return text + ".";
    }
    return std::string();
}

void TScanDetailsForm::refreshTexts() {
    ReasonLabel.setText(reasonOf(TeTreeView1.selected()));
    SpaceLabel.setText(spaceText(spaceOf(reportTasks), true));
    KeepButton.setEnabled(entryOf(TeTreeView1.selected()) != nullptr);
}

void TScanDetailsForm::setChosen(size_t row, bool chosen) {
    rows_[row].entry->leftAlone = !chosen;
    if (rows_[row].node && TeTreeView1.checked(rows_[row].node) != chosen)
        TeTreeView1.setChecked(rows_[row].node, chosen);
}

void TScanDetailsForm::refreshCategoryCheck(size_t category) {
    // Ticked while anything of it is chosen: unticking it leaves all of it.
    bool any = false;
    for (size_t row : categories_[category].rows)
        if (rows_[row].node && !rows_[row].entry->leftAlone) any = true;
    if (TeTreeView1.checked(categories_[category].node) != any)
        TeTreeView1.setChecked(categories_[category].node, any);
}

void TScanDetailsForm::checkToggled(ui::TreeNode node) {
    const bool chosen = TeTreeView1.checked(node);
    if (entryOf(node)) {
        const size_t row = static_cast<size_t>(TeTreeView1.nodeData(node)) - 1;
        for (size_t member : problemRows(row)) setChosen(member, chosen);
        refreshCategoryCheck(rows_[row].category);
    } else {
        for (size_t c = 0; c < categories_.size(); ++c) {
            if (categories_[c].node != node) continue;
            for (size_t row : categories_[c].rows)
                if (rows_[row].node) setChosen(row, chosen);
            refreshCategoryCheck(c);
        }
    }
    refreshTexts();
}

bool TScanDetailsForm::keepForGood(const KeptItem& item) {
    KeepList list;
    if (readKeptItems(list) == KeptItemsRead::Damaged)
        win::showMessageBox(handle(), damagedKeptItemsText(), "Mendora", MB_OK | MB_ICONWARNING);
    if (list.contains(item)) {
        // Kept already: only the report has to follow.
    } else if (!list.add(item)) {
        win::showMessageBox(handle(),
                            "The list of kept items is full: remove some in Kept Items first.",
                            "Mendora", MB_OK | MB_ICONWARNING);
        return false;
    } else if (!writeKeptItems(list)) {
        win::showMessageBox(
            handle(),
            "The item could not be kept: the list " + keptItemsPath() + " could not be written.",
            "Mendora", MB_OK | MB_ICONWARNING);
        return false;
    }
    // Kept from now on: not repaired now either, and no longer in the report.
    // A key kept as a problem takes the tree found with it along.
    for (size_t row = 0; row < rows_.size(); ++row) {
        if (!rows_[row].node || !keeps(item, *rows_[row].entry)) continue;
        for (size_t member : problemRows(row)) {
            if (!rows_[member].node) continue;
            rows_[member].entry->leftAlone = true;
            TeTreeView1.remove(rows_[member].node);
            rows_[member].node = nullptr;
        }
    }
    for (size_t c = 0; c < categories_.size(); ++c) refreshCategoryCheck(c);
    refreshTexts();
    return true;
}

void TScanDetailsForm::offerKeepChoices(ui::TreeNode node, POINT at) {
    if (!entryOf(node)) return;
    const size_t row = static_cast<size_t>(TeTreeView1.nodeData(node)) - 1;
    const std::vector<KeptItem> choices = keepChoices(problemEntry(row));
    if (choices.empty()) return;
    std::vector<std::string> texts;
    for (const KeptItem& item : choices) texts.push_back(keepChoiceText(item));
    const int chosen = chooseFromMenu(texts, at);
    if (chosen >= 0 && static_cast<size_t>(chosen) < choices.size())
        keepForGood(choices[static_cast<size_t>(chosen)]);
}

void TScanDetailsForm::KeepButtonClick() {
    RECT button;
    GetWindowRect(KeepButton.handle(), &button);
    offerKeepChoices(TeTreeView1.selected(), POINT{button.left, button.bottom});
}

void TScanDetailsForm::TeButton1Click() {
    close();
}

}  // namespace sysrepair
