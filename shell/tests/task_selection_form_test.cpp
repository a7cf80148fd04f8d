#include "shell/task_selection_form.h"

#include <gtest/gtest.h>

#include "common/ui/synchronize.h"
#include "scan/categories/categories.h"
#include "scan/task_manager.h"

using sysrepair::ITask;
using sysrepair::TaskManager;

namespace {

class RecordingTarget : public sysrepair::ScanCategoryTarget {
public:
    void setScanCategories(const std::vector<ITask*>& categories) override {
        received = categories;
        ++calls;
    }
    std::vector<ITask*> received;
    int calls = 0;
};

class TaskSelection : public ::testing::Test {
protected:
    TaskSelection() : form(target) { sysrepair::createCategories(); }

    // Shows the dialog modally and runs `inside` while it is up.
    void whileShown(const std::function<void()>& inside) {
        ASSERT_TRUE(ui::post([&] {
            EXPECT_TRUE(form.visible());
            inside();
        }));
        form.showModal();
        EXPECT_FALSE(form.visible());
    }

    std::vector<ITask*> allBut(uint32_t skipped) {
        std::vector<ITask*> list;
        for (uint32_t i = 0; i < 8; ++i)
            if (i != skipped) list.push_back(TaskManager::instance()->taskAt(i));
        return list;
    }

    RecordingTarget target;
    sysrepair::TTaskSelForm form;
};

TEST_F(TaskSelection, FirstShowingListsEveryCategoryCheckedInOrder) {
    EXPECT_EQ(form.caption(), "Mendora");
    EXPECT_EQ(form.clientWidth(), 358);
    EXPECT_EQ(form.clientHeight(), 260);
    whileShown([&] {
        ASSERT_EQ(form.TeListView1.count(), 8);
        EXPECT_EQ(form.TeListView1.itemText(0),
                  "Custom Controls (Fixes Missing COM/DLL/OCX Components)");
        EXPECT_EQ(form.TeListView1.itemText(4), "Internet Cleaner (Fixes Unused Internet Files)");
        EXPECT_EQ(form.TeListView1.itemText(7),
                  "Windows Shortcuts (Fixes Missing or Invalid Shortcuts)");
        for (int i = 0; i < 8; ++i) EXPECT_TRUE(form.TeListView1.checked(i)) << i;
        form.TeButton1.click();
    });
    ASSERT_EQ(target.calls, 1);
    EXPECT_EQ(target.received, allBut(99));
}

TEST_F(TaskSelection, OkHandsOverTheCheckedOnesAndTheMarksSurviveReopeningAndCancel) {
    whileShown([&] {
        form.TeListView1.setChecked(4, false);  // Internet Cleaner
        form.TeButton1.click();
    });
    EXPECT_EQ(target.received, allBut(4));

    // Reopened: the same eight items, Internet Cleaner still unchecked. A
    // change followed by Cancel keeps the marks but hands nothing over.
    whileShown([&] {
        ASSERT_EQ(form.TeListView1.count(), 8);
        EXPECT_FALSE(form.TeListView1.checked(4));
        EXPECT_TRUE(form.TeListView1.checked(3));
        form.TeListView1.setChecked(0, false);
        form.TeButton2.click();
    });
    EXPECT_EQ(target.calls, 1);
    EXPECT_EQ(target.received, allBut(4));
    whileShown([&] {
        EXPECT_FALSE(form.TeListView1.checked(0));
        EXPECT_FALSE(form.TeListView1.checked(4));
        form.TeButton2.click();
    });
}

TEST_F(TaskSelection, AnEmptySelectionIsHandedOver) {
    target.received = allBut(99);
    whileShown([&] {
        for (int i = 0; i < form.TeListView1.count(); ++i) form.TeListView1.setChecked(i, false);
        form.TeButton1.click();
    });
    EXPECT_EQ(target.calls, 1);
    EXPECT_TRUE(target.received.empty());
}

}  // namespace
