// The main window inside the test program: its panels, its list of
// categories, Start scan without categories, cancel, the close during a scan
// (in a child process, because the close releases the task manager), and the
// refusals while a repair or restore runs.
#include "shell/plugin_form.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "common/message_box.h"
#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/own_install_entry.h"
#include "common/tests/support/test_files.h"
#include "common/tests/support/waiting.h"
#include "common/ui/application.h"
#include "common/ui/synchronize.h"
#include "repair/settings.h"
#include "scan/scan_flags.h"
#include "scan/task_manager.h"

using sysrepair::ITask;
using sysrepair::TaskManager;
using testing_support::ScopedAppPathsEntry;
using testing_support::ScopedTestFolder;
using testing_support::waitUntil;

namespace {

bool aCategoryIsScanning() {
    ITask* current = TaskManager::instance()->currentTask();
    return current && current->isRunning();
}

// The install folder of the test's own, for the backup folders Settings makes.
class InstallFolder {
public:
    ~InstallFolder() { sysrepair::releaseSettings(); }

private:
    ScopedTestFolder folder;
    ScopedAppPathsEntry entry{useOwnInstallEntry(), folder.path()};
};

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            shown.push_back(r);
            return answer;
        });
    }
    ~MainWindow() override { win::setMessageBoxHandler(nullptr); }

    InstallFolder install;
    sysrepair::TSystemRepairForm form;
    std::vector<win::MessageBoxRequest> shown;
    int answer = IDNO;
};

TEST_F(MainWindow, ShowListsEveryCategoryAndCentresDontRepair) {
    form.show();
    EXPECT_TRUE(form.Panel1.visible());
    EXPECT_FALSE(form.Panel2.visible());
    EXPECT_FALSE(form.Panel3.visible());
    ASSERT_EQ(form.TeListBox1.count(), 8);
    TaskManager* tm = TaskManager::instance();
    EXPECT_EQ(form.TeListBox1.line(0), "Custom Controls  -  " + tm->taskAt(0)->description());
    EXPECT_EQ(form.TeListBox1.line(4), "Internet Cleaner  -  " + tm->taskAt(4)->description());
    EXPECT_EQ(form.TeListBox1.line(7), "Windows Shortcuts  -  Missing or Invalid Shortcuts");
    EXPECT_EQ(form.ImageButton11.left(), 425 / 2 - 177 / 2);
    EXPECT_EQ(form.ImageButton11.top(), 240);
    EXPECT_EQ(form.left(), ui::Application::screenWidth() / 2 - 730 / 2);
    EXPECT_EQ(form.top(), (ui::Application::screenHeight() - 595) / 2);

    // A narrowed choice refills the list; the next show offers every
    // category again.
    form.setScanCategories({tm->taskAt(6)});
    ASSERT_EQ(form.TeListBox1.count(), 1);
    EXPECT_EQ(form.TeListBox1.line(0), "Recent Documents  -  " + tm->taskAt(6)->description());
    form.hide();
    form.show();
    EXPECT_EQ(form.TeListBox1.count(), 8);
    EXPECT_EQ(form.scanCategories().size(), 8u);
}

TEST_F(MainWindow, SkinLiesBelowThePanelsAndButtons) {
    form.show();
    // Clicks and lookups by position reach the controls, not the picture.
    EXPECT_EQ(ChildWindowFromPointEx(form.handle(), POINT{314, 410}, CWP_SKIPINVISIBLE),
              form.Panel1.handle());
    EXPECT_EQ(ChildWindowFromPointEx(form.handle(), POINT{700, 30}, CWP_SKIPINVISIBLE),
              form.ImageButton6.handle());
    EXPECT_EQ(ChildWindowFromPointEx(form.handle(), POINT{20, 500}, CWP_SKIPINVISIBLE),
              form.Image1.handle());
}

TEST_F(MainWindow, StartScanWithoutCategoriesShowsTheMessageAndStays) {
    form.show();
    form.setScanCategories({});
    form.ImageButton8PictureClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "You must select at least one task.");
    EXPECT_EQ(shown[0].caption, "Mendora");
    EXPECT_EQ(shown[0].flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(shown[0].owner, form.handle());
    EXPECT_TRUE(form.Panel1.visible());
    EXPECT_FALSE(form.Panel2.visible());
    EXPECT_TRUE(form.ImageButton1.enabled());
    EXPECT_TRUE(sysrepair::scanFinished);
}

TEST_F(MainWindow, CancelReturnsToTheWelcomePanelWithoutResults) {
    form.show();
    form.ImageButton8PictureClick();
    EXPECT_TRUE(form.Panel2.visible());
    EXPECT_FALSE(form.Panel1.visible());
    EXPECT_FALSE(form.ImageButton1.enabled());
    EXPECT_FALSE(form.ImageButton7.enabled());
    ASSERT_TRUE(waitUntil(aCategoryIsScanning, 60));

    form.ImageButton10PictureClick();
    EXPECT_TRUE(form.Panel1.visible());
    EXPECT_FALSE(form.Panel2.visible());
    EXPECT_TRUE(form.ImageButton1.enabled());
    EXPECT_TRUE(form.ImageButton7.enabled());
    ASSERT_TRUE(waitUntil([] { return sysrepair::scanFinished.load(); }, 120));
    // The aborted run shows no results.
    waitUntil([] { return false; }, 1);
    EXPECT_FALSE(form.Panel3.visible());
    EXPECT_TRUE(form.Panel1.visible());
}

TEST_F(MainWindow, ACancelledScanLeavesAStartWithNothingChosenAndTheCloseFree) {
    form.show();
    form.ImageButton8PictureClick();
    ASSERT_TRUE(waitUntil([&] { return form.Label20.text().rfind("Running ", 0) == 0; }, 60));
    form.ImageButton10PictureClick();
    // The list shows what the next scan covers: every category again.
    EXPECT_EQ(form.TeListBox1.count(), 8);

    // At once a start with nothing chosen: it runs nothing, and nothing is
    // left running that a close would wait for.
    form.setScanCategories({});
    form.ImageButton8PictureClick();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(sysrepair::scanFinished);
    // A new run does not show the last one's scanner.
    EXPECT_EQ(form.Label20.text(), "Scanning...");
}

TEST_F(MainWindow, ResultsPanelShowsWhatTheMonitorReports) {
    form.show();
    form.showResultPanel();
    form.setRepairButtonsVisible(false);
    form.setResultTexts("No Problems Detected", "advice");
    EXPECT_TRUE(form.Panel3.visible());
    EXPECT_FALSE(form.Panel1.visible());
    EXPECT_FALSE(form.ImageButton12.visible());
    EXPECT_FALSE(form.ImageButton14.visible());
    EXPECT_EQ(form.Label17.text(), "No Problems Detected");
    form.ImageButton11PictureClick();
    EXPECT_TRUE(form.Panel1.visible());
    EXPECT_FALSE(form.Panel3.visible());
}

// Neither a close nor the end of the session stops a repair or restore
// halfway, and nobody is asked; once it is done, both may go ahead.
TEST_F(MainWindow, WorkUnderWayRefusesTheCloseAndTheEndOfTheSessionUnasked) {
    form.show();
    sysrepair::showWorking(sysrepair::Work::Restore);
    EXPECT_FALSE(form.close());
    EXPECT_EQ(SendMessageA(form.handle(), WM_QUERYENDSESSION, 0, 0), FALSE);
    SendMessageA(form.handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(form.visible());
    EXPECT_TRUE(shown.empty());
    sysrepair::hideWorking();
    EXPECT_EQ(SendMessageA(form.handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
}

// Closing during a scan: the question, then the close returns only after
// the scan monitor has reported the end of the run.
CHILD_SCENARIO(closeDuringScan) {
    InstallFolder install;
    std::vector<win::MessageBoxRequest> shown;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
        shown.push_back(r);
        return IDYES;
    });
    sysrepair::TSystemRepairForm form;
    form.show();
    form.ImageButton8PictureClick();
    if (!waitUntil(aCategoryIsScanning, 60)) {
        std::printf("no category ran\n");
        return;
    }
    const bool closed = form.close();
    std::printf("closed=%d finished=%d visible=%d boxes=%u [%s|%s]\n", closed,
                sysrepair::scanFinished.load(), form.visible(), static_cast<unsigned>(shown.size()),
                shown.empty() ? "" : shown[0].text.c_str(),
                shown.empty() ? "" : shown[0].caption.c_str());
    std::fflush(stdout);
}

TEST(MainWindowClose, CloseDuringAScanAsksToAbortAndWaitsForTheMonitor) {
    testing_support::ChildResult child = testing_support::runChild("closeDuringScan");
    EXPECT_NE(child.output.find(
                  "closed=1 finished=1 visible=0 boxes=1 [Abort scan and close Mendora?|Mendora]"),
              std::string::npos)
        << child.output;
}

}  // namespace
