#include "shell/details_form.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/suite_registry.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_files.h"
#include "common/ui/synchronize.h"
#include "scan/kept_items.h"

using sysrepair::TaskEntry;

namespace {

// A category with a fixed entry list, outside the task manager.
class FixedTask : public sysrepair::ITask {
public:
    explicit FixedTask(std::string description) : description_(std::move(description)) {}
    TaskEntry& add(uint8_t type, std::vector<std::string> fields,
                   const std::string* reason = nullptr) {
        auto entry = std::make_unique<TaskEntry>();
        entry->type = type;
        entry->fields = std::move(fields);
        entry->setReason(reason);
        entries_.push_back(std::move(entry));
        return *entries_.back();
    }
    void getEntries(std::vector<TaskEntry*>& out) override {
        out.clear();
        for (auto& e : entries_) out.push_back(e.get());
    }
    uint32_t problemCount() override { return static_cast<uint32_t>(entries_.size()); }
    float progress() override { return 100; }
    std::string statusText() override { return ""; }
    uint8_t level() override { return 2; }
    std::string name() override { return description_; }
    std::string description() override { return description_; }
    bool scan() override { return true; }
    bool restoreEntry(const TaskEntry*) override { return true; }
    bool isRunning() override { return false; }
    void reset() override {}
    void cancel() override {}
    bool marker() override { return true; }

private:
    std::string description_;
    std::vector<std::unique_ptr<TaskEntry>> entries_;
};

class Report : public ::testing::Test {
protected:
    Report() : controls("Missing COM/DLL/OCX Components"), fonts("Missing System Fonts") {
        controls.add(sysrepair::EntryRegKey,
                     {"HKEY_CLASSES_ROOT", "CLSID\\{0A1B2C3D-0000-0000-0000-000000000001}"});
        controls.add(sysrepair::EntryRegKey,
                     {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Brisklane Technologies\\Mendora"});
        controls.add(sysrepair::EntryFile, {"C:\\Windows\\System32\\gone.ocx"});
        fonts.add(sysrepair::EntryRegText,
                  {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts",
                   "Gone Sans (TrueType)", "STRING", "gonesans.ttf"});
        ownOnly.add(sysrepair::EntryRegText,
                    {"HKEY_LOCAL_MACHINE", win::kSuiteKey, win::kProcessIdValue, "INT", "42"});
    }

    void whileShown(const std::function<void()>& inside) {
        ASSERT_TRUE(ui::post([&] {
            inside();
            form.TeButton1.click();
        }));
        form.showModal();
        EXPECT_FALSE(form.visible());
    }

    FixedTask controls;
    FixedTask fonts;
    FixedTask ownOnly{"Missing Windows Help Files"};
    sysrepair::TScanDetailsForm form;
};

TEST_F(Report, OneRootPerCategoryTheFirstExpandedAndTheMakersKeyLeftOut) {
    EXPECT_EQ(form.caption(), "Detected Problems Report");
    EXPECT_EQ(form.clientWidth(), 468);
    EXPECT_EQ(form.clientHeight(), 416);
    form.setReportTasks({&controls, &fonts, &ownOnly});
    whileShown([&] {
        ui::TreeView& tree = form.TeTreeView1;
        ASSERT_EQ(tree.childCount(nullptr), 3);
        const ui::TreeNode first = tree.child(nullptr, 0);
        const ui::TreeNode second = tree.child(nullptr, 1);
        const ui::TreeNode third = tree.child(nullptr, 2);
        EXPECT_EQ(tree.nodeText(first), "Missing COM/DLL/OCX Components");
        EXPECT_EQ(tree.nodeText(second), "Missing System Fonts");
        EXPECT_TRUE(tree.expanded(first));
        EXPECT_FALSE(tree.expanded(second));
        EXPECT_FALSE(tree.expanded(third));

        ASSERT_EQ(tree.childCount(first), 2);
        EXPECT_EQ(tree.nodeText(tree.child(first, 0)),
                  "CLSID\\{0A1B2C3D-0000-0000-0000-000000000001}");
        EXPECT_EQ(tree.nodeText(tree.child(first, 1)), "gone.ocx");  // a file by its name alone
        ASSERT_EQ(tree.childCount(second), 1);
        EXPECT_EQ(tree.nodeText(tree.child(second, 0)),
                  "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\Gone Sans (TrueType)");
        // Every entry of this one is the suite's own key: a root without children.
        EXPECT_EQ(tree.childCount(third), 0);
    });
}

// A class key found with its tree is one problem: unticking any of its rows
// leaves all of them, the category's box ticks everything, and keeping the
// problem for good takes the whole tree out of the report.
TEST(ReportChoice, AKeyAndItsTreeAreChosenAndKeptTogether) {
    testing_support::ScopedTestFolder install;
    testing_support::ScopedAppPathsEntry entry(useOwnInstallEntry(), install.path());
    const std::string server = "the server file C:\\gone\\x.ocx does not exist";
    const std::string font = "the font file y.ttf is not in the Fonts folder C:\\Windows\\Fonts\\";
    const std::string key = "CLSID\\{0A1B2C3D-0000-0000-0000-0000000000AA}";
    FixedTask controls("Missing COM/DLL/OCX Components");
    TaskEntry& value =
        controls.add(sysrepair::EntryRegRaw, {"HKEY_CLASSES_ROOT", key, "v"}, &server);
    TaskEntry& sub =
        controls.add(sysrepair::EntryRegKey, {"HKEY_CLASSES_ROOT", key + "\\Sub"}, &server);
    TaskEntry& head = controls.add(sysrepair::EntryRegKey, {"HKEY_CLASSES_ROOT", key}, &server);
    TaskEntry& other =
        controls.add(sysrepair::EntryRegText,
                     {"HKEY_LOCAL_MACHINE", "SOFTWARE\\Fonts", "Y", "STRING", "y.ttf"}, &font);
    sysrepair::TScanDetailsForm form;
    form.setReportTasks({&controls});
    ASSERT_TRUE(ui::post([&] {
        ui::TreeView& tree = form.TeTreeView1;
        const ui::TreeNode root = tree.child(nullptr, 0);
        const auto toggle = [&](ui::TreeNode node, bool ticked) {
            tree.setChecked(node, ticked);  // as a click on the box does
            tree.onCheckToggled(node);
        };
        tree.select(tree.child(root, 0));
        EXPECT_EQ(form.ReasonLabel.text(), "HKEY_CLASSES_ROOT\\" + key +
                                               "\\v\r\nFound with the key HKEY_CLASSES_ROOT\\" +
                                               key + ": " + server + ".");
        toggle(tree.child(root, 0), false);
        EXPECT_TRUE(value.leftAlone && sub.leftAlone && head.leftAlone);
        EXPECT_FALSE(tree.checked(tree.child(root, 2)));
        EXPECT_FALSE(other.leftAlone);
        EXPECT_TRUE(tree.checked(root)) << "something of it is still chosen";
        toggle(root, false);
        EXPECT_TRUE(other.leftAlone);
        toggle(root, true);
        EXPECT_FALSE(value.leftAlone || sub.leftAlone || head.leftAlone || other.leftAlone);

        // Kept as a problem: the tree goes with its key.
        EXPECT_TRUE(form.keepForGood(sysrepair::keepChoices(head)[0]));
        EXPECT_EQ(tree.childCount(root), 1);
        EXPECT_TRUE(value.leftAlone && sub.leftAlone && head.leftAlone);
        EXPECT_FALSE(other.leftAlone);
        form.TeButton1.click();
    }));
    form.showModal();
    sysrepair::KeepList kept;
    ASSERT_EQ(sysrepair::readKeptItems(kept), sysrepair::KeptItemsRead::Read);
    ASSERT_EQ(kept.items().size(), 1u);
    EXPECT_TRUE(kept.keepsEntry(head));
}

}  // namespace
