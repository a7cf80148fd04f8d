// The scan threads of a run, driven as the main window drives them, on
// categories that play a script.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <memory>

#include "common/tests/support/child_process.h"
#include "common/tests/support/waiting.h"
#include "common/ui/application.h"
#include "scan/scan_flags.h"
#include "scan/scan_run.h"
#include "scan/task_manager.h"
#include "scan/tests/support/recording_scan_view.h"

using namespace sysrepair;
using testing_support::waitUntil;

namespace {

const char kLinePrefix[] = " [ Scanned ]      ";

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
            RecordingScanView* watching = view;
            if (step.waitForLogLines > 0 && watching)
                waitUntil([&] { return watching->loggedLines >= step.waitForLogLines; });
            if (step.holdMs > 0) Sleep(step.holdMs);
            if (step.holdUntilCancelled) waitUntil([&] { return stopRequested(); }, 60);
        }
        setRunning(false);
        return true;
    }

    std::vector<Step> steps;
    bool startable = true;
    std::atomic<int> scans{0};
    std::atomic<RecordingScanView*> view{nullptr};

private:
    std::string name_;
};

ScriptedTask& scripted(const char* name) {
    // Never deleted: the task manager keeps pointers to them for the life of
    // the process.
    static std::map<std::string, ScriptedTask*> tasks;
    ScriptedTask*& task = tasks[name];
    if (!task) task = new ScriptedTask(name);
    return *task;
}

// Serves the monitor's calls onto this thread until the run has ended.
bool waitForEnd(int seconds = 300) {
    return waitUntil([] { return scanFinished.load(); }, seconds);
}

class ScanThreads : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ui::Application::initialize()); }
    void TearDown() override {
        run.stop();
        EXPECT_EQ(view.callsOffUiThread, 0);
    }

    ScriptedTask& script(const char* name, std::vector<ScriptedTask::Step> steps) {
        ScriptedTask& task = scripted(name);
        task.steps = std::move(steps);
        task.startable = true;
        task.view = &view;
        return task;
    }

    void start(const std::vector<ITask*>& tasks) {
        run.prepare(tasks, view);
        run.begin();
    }

    RecordingScanView view;
    ScanRun run;
};

const char kRepairAdvice[] =
    "To repair the problems click the 'Make Repairs' button.  To ignore the problems for now "
    "and run a scan later, click the 'Don't Repair' button below.";
const char kNothingAdvice[] =
    "There were no errors found.  This is the optimal configuration for this computer!";

TEST_F(ScanThreads, FoundProblemsAreLoggedAndCounted) {
    ScriptedTask& finder =
        script("Test Finder", {{"C:\\MendoraTest\\alpha.tmp", 2, 1},
                               {"HKEY_CURRENT_USER\\Software\\MendoraTest\\Key\\Value", 1, 2}});
    view.repairButtonsVisible = false;
    start({&finder});
    ASSERT_TRUE(waitForEnd());

    EXPECT_THAT(view.logTexts(),
                ::testing::ElementsAre(std::string(kLinePrefix) + "alpha.tmp",
                                       std::string(kLinePrefix) + "MendoraTest\\Key\\Value"));
    EXPECT_EQ(view.lines[0].colour, RGB(0, 0x80, 0));
    EXPECT_TRUE(view.lines[0].bold);
    EXPECT_EQ(view.runningCaption, "Running Test Finder Scanner");
    EXPECT_TRUE(view.resultShown);
    EXPECT_EQ(view.headline, "3 Possible Problems");
    EXPECT_EQ(view.advice, kRepairAdvice);
    EXPECT_EQ(view.adviceColour, RGB(0, 0, 0));
    EXPECT_TRUE(view.repairButtonsVisible);
    EXPECT_FALSE(run.worker()->isDone());  // the final report hands the flag back
}

TEST_F(ScanThreads, ARunThatFindsNothingHidesTheRepairButtons) {
    ScriptedTask& empty = script("Test Nothing", {{"C:\\MendoraTest\\clean.txt", 0, 1}});
    start({&empty});
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(view.resultShown);
    EXPECT_EQ(view.headline, "No Problems Detected");
    EXPECT_EQ(view.advice, kNothingAdvice);
    EXPECT_FALSE(view.repairButtonsVisible);
}

TEST_F(ScanThreads, TheSameShortStatusTwiceGivesOneLine) {
    ScriptedTask& repeat = script("Test Repeat", {{"C:\\one\\same.txt", 0, 1},
                                                  {"C:\\two\\same.txt", 0, 0, false, 50},
                                                  {"C:\\one\\same.txt", 0, 0, false, 50},
                                                  {"C:\\three\\other.txt", 0, 2}});
    start({&repeat});
    ASSERT_TRUE(waitForEnd());
    EXPECT_THAT(view.logTexts(), ::testing::ElementsAre(std::string(kLinePrefix) + "same.txt",
                                                        std::string(kLinePrefix) + "other.txt"));
}

TEST_F(ScanThreads, CancellingStopsTheRunWithoutAResult) {
    ScriptedTask& blocker = script("Test Blocker", {{"C:\\MendoraTest\\slow.bin", 1, 0, true}});
    ScriptedTask& after = script("Test After Blocker", {{"C:\\MendoraTest\\never.bin", 1}});
    const int scansBefore = after.scans;
    start({&blocker, &after});
    ASSERT_TRUE(waitUntil([&] { return blocker.isRunning(); }));
    run.cancel();
    ASSERT_TRUE(waitForEnd());
    EXPECT_FALSE(blocker.isRunning());
    EXPECT_EQ(after.scans, scansBefore);  // the run stopped before the next category
    EXPECT_FALSE(view.resultShown);
    EXPECT_EQ(view.headline, "Possible Problems");
}

TEST_F(ScanThreads, ARunWhoseOnlyCategoryCannotStartStillEnds) {
    ScriptedTask& unstartable = script("Test Unstartable", {});
    unstartable.startable = false;
    start({&unstartable});
    ASSERT_TRUE(waitForEnd());
    EXPECT_TRUE(view.resultShown);
    EXPECT_EQ(view.headline, "No Problems Detected");
}

TEST_F(ScanThreads, EachRunGetsFreshThreadsAndAFreshSeenList) {
    // The same problem in two runs: the second run must not take it for a
    // duplicate of the first.
    ScriptedTask& again = script("Test Again", {{"C:\\MendoraTest\\again.tmp", 1, 1}});
    start({&again});
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(view.headline, "1 Possible Problems");

    view.lines.clear();
    view.loggedLines = 0;
    view.headline.clear();
    start({&again});
    ASSERT_TRUE(waitForEnd());
    EXPECT_EQ(again.problemCount(), 1u);
    EXPECT_EQ(view.headline, "1 Possible Problems");
    EXPECT_EQ(view.lines.size(), 1u);
}

TEST(ScanWorker, ACancelBetweenTheStartAndTheFirstPassIsNotLost) {
    ScriptedTask& first = scripted("Test Early Cancel");
    first.steps = {{"C:\\MendoraTest\\early.bin", 1}};
    first.startable = true;
    first.view = nullptr;
    const int scansBefore = first.scans;
    WorkerThread worker;
    worker.start({&first});
    worker.cancelRun();
    worker.resume();
    ASSERT_TRUE(waitUntil([&] { return worker.isDone(); }));
    EXPECT_EQ(first.scans, scansBefore);
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
    ScriptedTask& unstartable = scripted("Test Unstartable First");
    unstartable.startable = false;
    RecordingScanView view;
    {
        ScanRun run;
        run.prepare({&unstartable}, view);
        run.begin();
        if (!waitForEnd(60)) ExitProcess(1);
    }
    ExitProcess(view.headline == "No Problems Detected" && view.resultShown ? 0 : 2);
}

TEST(ScanMonitor, AFirstRunWhereNoCategoryStartsStillEnds) {
    const auto child = testing_support::runChild("firstRunWhereNothingStarts");
    EXPECT_EQ(child.exitCode, 0u) << child.output;
}

}  // namespace
