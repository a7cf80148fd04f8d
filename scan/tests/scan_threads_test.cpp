#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

#include "child_process.h"

#include "application.h"
#include "categories.h"
#include "drive_table.h"
#include "message_box.h"
#include "scan_flags.h"
#include "synchronize.h"
#include "task_manager.h"
#include "test_scan_window.h"
#include "update_thread.h"
#include "worker_thread.h"

using namespace sysrepair;

namespace {

const char kLinePrefix[] = " [ Scanned ]      ";

// Bounded wait on the worker thread for a condition another thread makes true.
bool waitOnWorker(const std::function<bool()>& condition, int seconds = 30) {
    for (int i = 0; i < seconds * 1000 && !condition(); ++i) Sleep(1);
    return condition();
}

// A category of the tests' own that plays a script of status texts, found
// problems and waits. Made once and kept, like the real categories.
class ScriptedTask : public BasicTask {
public:
    struct Step {
        std::string status;
        int problems = 0;
        int waitForLogLines = 0;  // hold until the log has this many lines
        bool holdUntilCancelled = false;
        int holdMs = 0;  // lets the monitor pass over this status several times
    };

    explicit ScriptedTask(std::string name) : name_(std::move(name)) {}
    std::string name() override { return name_; }
    std::string description() override { return "Test problems of " + name_; }

    bool scan() override {
        ++scans;
        if (!startable) return false;
        // The status text outlives a scan; a fresh monitor would log the
        // previous run's last status first.
        setStatusText("");
        setRunning(true);
        clearEntries();
        for (const Step& step : steps) {
            if (stopRequested()) break;
            setStatusText(step.status);
            for (int i = 0; i < step.problems; ++i) {
                auto entry = std::make_unique<TaskEntry>();
                entry->fields = {step.status + "#" + std::to_string(i)};
                addEntry(std::move(entry));
            }
            TestScanWindow* window = view;
            if (step.waitForLogLines > 0 && window)
                waitOnWorker([&] { return window->loggedLines >= step.waitForLogLines; });
            if (step.holdMs > 0) Sleep(step.holdMs);
            if (step.holdUntilCancelled) waitOnWorker([&] { return stopRequested(); }, 60);
        }
        setRunning(false);
        return true;
    }

    std::vector<Step> steps;
    bool startable = true;
    std::atomic<int> scans{0};
    std::atomic<TestScanWindow*> view{nullptr};

private:
    std::string name_;
};

ScriptedTask& scripted(const char* name) {
    // Registered after the eight categories, and never deleted: the task
    // manager keeps pointers to them for the life of the process.
    createCategories();
    static std::map<std::string, ScriptedTask*> tasks;
    ScriptedTask*& task = tasks[name];
    if (!task) task = new ScriptedTask(name);
    return *task;
}

// The main window's part in a scan run: a fresh pair of threads per run,
// started, cancelled and stopped in its order.
class ScanRun {
public:
    explicit ScanRun(TestScanWindow& view) : view_(view) {}
    ~ScanRun() { stopThreads(); }

    // With cancelFirst, the cancel comes before the threads get to run, as a
    // click can when the worker thread is slow to be scheduled.
    void start(const std::vector<ITask*>& tasks, bool cancelFirst = false) {
        stopThreads();
        worker_ = std::make_unique<WorkerThread>();
        monitor_ = std::make_unique<UpdateThread>();
        monitor_->setSelected(tasks);
        monitor_->setForm(&view_);
        monitor_->setWorker(worker_.get());
        view_.showScanningPanel();
        scanFinished = false;
        worker_->start(tasks);
        if (cancelFirst) cancel();
        worker_->resume();
        monitor_->resume();
    }

    void cancel() {
        worker_->cancelRun();
        monitor_->abort();
    }

    // Serves the monitor's synchronize calls until the run has ended.
    static bool waitForEnd(int seconds = 300) {
        for (int i = 0; i < seconds * 100 && !scanFinished; ++i) ui::pauseServingThreads(10);
        return scanFinished;
    }

    WorkerThread* worker() const { return worker_.get(); }

private:
    void stopThreads() {
        if (monitor_) {
            monitor_->requestStop();
            ui::pauseServingThreads(200);
            monitor_->terminate();
            monitor_.reset();
        }
        if (worker_) {
            worker_->requestStop();
            ui::pauseServingThreads(200);
            worker_->terminate();
            worker_.reset();
        }
    }

    TestScanWindow& view_;
    std::unique_ptr<WorkerThread> worker_;
    std::unique_ptr<UpdateThread> monitor_;
};

class ScanThreads : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui::Application::initialize());
        createCategories();
        // Scanners may report a missing system folder; answer any box.
        setMessageBoxHandler([](const MessageBoxRequest&) { return IDOK; });
        view = std::make_unique<TestScanWindow>();
        view->show();
        run = std::make_unique<ScanRun>(*view);
    }
    void TearDown() override {
        run.reset();
        view.reset();
        setMessageBoxHandler({});
    }

    ScriptedTask& script(const char* name, std::vector<ScriptedTask::Step> steps) {
        ScriptedTask& task = scripted(name);
        task.steps = std::move(steps);
        task.startable = true;
        task.view = view.get();
        return task;
    }

    std::unique_ptr<TestScanWindow> view;
    std::unique_ptr<ScanRun> run;
};

const char kRepairAdvice[] =
    "To repair the problems click the 'Make Repairs' button.  To ignore the problems for now "
    "and run a scan later, click the 'Don't Repair' button below.";
const char kNothingAdvice[] =
    "There were no errors found.  This is the optimal configuration for this computer!";

TEST_F(ScanThreads, ARunOverAllEightCategoriesEndsWithTheirTotal) {
    TaskManager* tm = TaskManager::instance();
    std::vector<ITask*> eight;
    for (uint32_t i = 0; i < 8; ++i) eight.push_back(tm->taskAt(i));
    run->start(eight);
    ASSERT_TRUE(ScanRun::waitForEnd());

    for (const std::string& line : view->logLines()) {
        EXPECT_THAT(line, ::testing::StartsWith(kLinePrefix));
        EXPECT_GT(line.size(), sizeof kLinePrefix - 1) << line;
    }
    uint32_t total = 0;
    for (ITask* task : eight) total += task->problemCount();
    EXPECT_TRUE(view->resultPanel.visible());
    EXPECT_FALSE(view->scanningPanel.visible());
    EXPECT_FALSE(view->welcomePanel.visible());
    if (total == 0) {
        EXPECT_EQ(view->headline.text(), "No Problems Detected");
    } else {
        EXPECT_EQ(view->headline.text(), std::to_string(total) + " Possible Problems");
    }
    EXPECT_EQ(view->repairButton.visible(), total != 0);
    EXPECT_EQ(view->reportButton.visible(), total != 0);
}

TEST_F(ScanThreads, FoundProblemsAreLoggedAndCounted) {
    ScriptedTask& finder =
        script("Test Finder", {{"C:\\MendoraTest\\alpha.tmp", 2, 1},
                               {"HKEY_CURRENT_USER\\Software\\MendoraTest\\Key\\Value", 1, 2}});
    view->repairButton.setVisible(false);
    run->start({&finder});
    ASSERT_TRUE(ScanRun::waitForEnd());

    EXPECT_THAT(view->logLines(),
                ::testing::ElementsAre(std::string(kLinePrefix) + "alpha.tmp",
                                       std::string(kLinePrefix) + "MendoraTest\\Key\\Value"));
    EXPECT_EQ(view->log.colourAt(0), RGB(0, 0x80, 0));
    EXPECT_TRUE(view->log.boldAt(0));
    EXPECT_EQ(view->runningCaption.text(), "Running Test Finder Scanner");
    EXPECT_EQ(view->headline.text(), "3 Possible Problems");
    EXPECT_EQ(view->advice.text(), kRepairAdvice);
    EXPECT_EQ(view->advice.fontColour(), RGB(0, 0, 0));
    EXPECT_TRUE(view->resultPanel.visible());
    EXPECT_FALSE(view->scanningPanel.visible());
    EXPECT_TRUE(view->repairButton.visible());
    EXPECT_TRUE(view->reportButton.visible());
    EXPECT_TRUE(view->restoreButton.enabled());
    EXPECT_TRUE(view->updateButton.enabled());
    EXPECT_FALSE(run->worker()->isDone());  // the final report hands the flag back
}

TEST_F(ScanThreads, ARunThatFindsNothingHidesTheRepairButtons) {
    ScriptedTask& empty = script("Test Nothing", {{"C:\\MendoraTest\\clean.txt", 0, 1}});
    run->start({&empty});
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_EQ(view->headline.text(), "No Problems Detected");
    EXPECT_EQ(view->advice.text(), kNothingAdvice);
    EXPECT_FALSE(view->repairButton.visible());
    EXPECT_FALSE(view->reportButton.visible());
    EXPECT_TRUE(view->resultPanel.visible());
}

TEST_F(ScanThreads, TheSameShortStatusTwiceGivesOneLine) {
    ScriptedTask& repeat = script("Test Repeat", {{"C:\\one\\same.txt", 0, 1},
                                                  {"C:\\two\\same.txt", 0, 0, false, 50},
                                                  {"C:\\one\\same.txt", 0, 0, false, 50},
                                                  {"C:\\three\\other.txt", 0, 2}});
    run->start({&repeat});
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_THAT(view->logLines(), ::testing::ElementsAre(std::string(kLinePrefix) + "same.txt",
                                                         std::string(kLinePrefix) + "other.txt"));
}

TEST_F(ScanThreads, CancellingStopsTheRunWithoutAResult) {
    ScriptedTask& blocker = script("Test Blocker", {{"C:\\MendoraTest\\slow.bin", 1, 0, true}});
    ScriptedTask& after = script("Test After Blocker", {{"C:\\MendoraTest\\never.bin", 1}});
    const int scansBefore = after.scans;
    run->start({&blocker, &after});
    for (int i = 0; i < 3000 && !blocker.isRunning(); ++i) ui::pauseServingThreads(10);
    ASSERT_TRUE(blocker.isRunning());
    run->cancel();
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_FALSE(blocker.isRunning());
    EXPECT_EQ(after.scans, scansBefore);  // the run stopped before the next category
    EXPECT_FALSE(view->resultPanel.visible());
    EXPECT_EQ(view->headline.text(), "Possible Problems");
    EXPECT_TRUE(scanFinished);
}

TEST_F(ScanThreads, CancellingDuringCustomControlsEndsTheRun) {
    ITask* customControls = TaskManager::instance()->taskAt(0);
    ASSERT_EQ(customControls->name(), "Custom Controls");
    ScriptedTask& after = script("Test After Custom Controls", {{"C:\\MendoraTest\\x.bin", 1}});
    const int scansBefore = after.scans;
    DriveTable::destroy();  // the category builds a fresh table
    run->start({customControls, &after});
    DriveTable* table = DriveTable::instance();
    for (int i = 0; i < 30000 && !table->isBuilding(); ++i) ui::pauseServingThreads(1);
    ASSERT_TRUE(table->isBuilding());
    // While the table is built, the category reports the path it reached.
    const std::string status = customControls->statusText();
    EXPECT_TRUE(status.empty() || status.find(":\\") == 1) << status;
    run->cancel();
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_FALSE(customControls->isRunning());
    EXPECT_FALSE(table->isBuilding());
    EXPECT_FALSE(table->isComplete());  // the build stopped and left nothing
    EXPECT_EQ(table->fileCount(), 0u);
    EXPECT_EQ(after.scans, scansBefore);
    EXPECT_FALSE(view->resultPanel.visible());
    DriveTable::destroy();
}

TEST_F(ScanThreads, ACancelRightAfterTheStartIsNotLost) {
    ScriptedTask& first = script("Test Early Cancel", {{"C:\\MendoraTest\\early.bin", 1}});
    const int scansBefore = first.scans;
    run->start({&first}, true);
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_EQ(first.scans, scansBefore);
    EXPECT_FALSE(view->resultPanel.visible());
    EXPECT_EQ(view->headline.text(), "Possible Problems");
}

TEST_F(ScanThreads, ARunWhoseOnlyCategoryCannotStartStillEnds) {
    ScriptedTask& unstartable = script("Test Unstartable", {});
    unstartable.startable = false;
    run->start({&unstartable});
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_TRUE(view->resultPanel.visible());
    EXPECT_EQ(view->headline.text(), "No Problems Detected");
}

TEST_F(ScanThreads, EachRunGetsFreshThreadsAndAFreshSeenList) {
    // The same problem in two runs: the second run must not take it for a
    // duplicate of the first.
    ScriptedTask& again = script("Test Again", {{"C:\\MendoraTest\\again.tmp", 1, 1}});
    run->start({&again});
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_EQ(view->headline.text(), "1 Possible Problems");

    view->loggedLines = 0;
    run->start({&again});
    ASSERT_TRUE(ScanRun::waitForEnd());
    EXPECT_EQ(again.problemCount(), 1u);
    EXPECT_EQ(view->headline.text(), "1 Possible Problems");
    EXPECT_EQ(view->logLines().size(), 1u);
}

CHILD_SCENARIO(monitorWithoutWorker) {
    ui::Application::initialize();
    UpdateThread monitor;
    monitor.resume();
    monitor.waitFor();
}

TEST(ScanMonitor, StopsTheProgramWithoutAWorker) {
    const auto child = testing_support::runChild("monitorWithoutWorker");
    EXPECT_EQ(child.exitCode, 3u);
    EXPECT_THAT(child.output,
                ::testing::HasSubstr("workerThread != NULL, file updateThread, line 50"));
}

// In a fresh process no category has ever run, so the task manager has no
// current category at all.
CHILD_SCENARIO(firstRunWhereNothingStarts) {
    ui::Application::initialize();
    createCategories();
    ScriptedTask& unstartable = scripted("Test Unstartable First");
    unstartable.startable = false;
    TestScanWindow view;
    view.show();
    {
        ScanRun run(view);
        run.start({&unstartable});
        if (!ScanRun::waitForEnd(60)) ExitProcess(1);
    }
    ExitProcess(view.headline.text() == "No Problems Detected" && view.resultPanel.visible() ? 0
                                                                                             : 2);
}

TEST(ScanMonitor, AFirstRunWhereNoCategoryStartsStillEnds) {
    const auto child = testing_support::runChild("firstRunWhereNothingStarts");
    EXPECT_EQ(child.exitCode, 0u) << child.output;
}

}  // namespace
