#include "shell/details_form.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/suite_registry.h"
#include "common/ui/synchronize.h"

using sysrepair::TaskEntry;

namespace {

// A category with a fixed entry list, outside the task manager.
class FixedTask : public sysrepair::ITask {
public:
    explicit FixedTask(std::string description) : description_(std::move(description)) {}
    void add(uint8_t type, std::vector<std::string> fields) {
        auto entry = std::make_unique<TaskEntry>();
        entry->type = type;
        entry->fields = std::move(fields);
        entries_.push_back(std::move(entry));
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

}  // namespace
