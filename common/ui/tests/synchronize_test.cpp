#include "common/ui/synchronize.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/message_box.h"
#include "common/tests/support/waiting.h"
#include "common/thread.h"
#include "common/ui/application.h"

namespace {

TEST(Synchronize, ManyThreadsAtOnceAllRunOnTheUiThreadInTurn) {
    ASSERT_TRUE(ui::Application::initialize());
    const int kThreads = 4, kCalls = 50;
    int counter = 0;  // touched on the user-interface thread only
    std::atomic<int> offThread{0};
    std::atomic<int> finishedThreads{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kCalls; ++i) {
                const bool ran = ui::synchronize([&] {
                    if (!ui::Application::isUiThread()) ++offThread;
                    const int before = counter;
                    counter = before + 1;
                });
                if (!ran) ++offThread;
            }
            ++finishedThreads;
        });
    }
    const bool allDone = testing_support::waitUntil([&] { return finishedThreads == kThreads; });
    for (auto& t : threads) t.join();
    ASSERT_TRUE(allDone);
    EXPECT_EQ(counter, kThreads * kCalls);
    EXPECT_EQ(offThread, 0);
}

TEST(Synchronize, OnTheUiThreadRunsAtOnce) {
    ASSERT_TRUE(ui::Application::initialize());
    bool ran = false;
    EXPECT_TRUE(ui::synchronize([&] { ran = true; }));
    EXPECT_TRUE(ran);
}

TEST(Synchronize, AnExceptionReachesTheCallingThread) {
    ASSERT_TRUE(ui::Application::initialize());
    std::atomic<bool> done{false};
    std::string caught;
    std::thread worker([&] {
        try {
            ui::synchronize([] { throw std::runtime_error("window gone"); });
        } catch (const std::runtime_error& e) {
            caught = e.what();
        }
        done = true;
    });
    const bool finished = testing_support::waitUntil([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(caught, "window gone");
}

TEST(Post, RunsLaterOnTheUiThreadWithoutWaiting) {
    ASSERT_TRUE(ui::Application::initialize());
    std::atomic<bool> posted{false};
    bool ranOnUi = false;
    std::thread worker(
        [&] { posted = ui::post([&] { ranOnUi = ui::Application::isUiThread(); }); });
    worker.join();  // post does not wait for the user-interface thread
    ASSERT_TRUE(posted);
    for (int i = 0; i < 1000 && !ranOnUi; ++i) {
        ui::Application::processMessages();
        if (!ranOnUi) Sleep(5);
    }
    EXPECT_TRUE(ranOnUi);
}

class SynchronizingThread : public win::Thread {
public:
    ~SynchronizingThread() override { terminateAndWait(); }
    bool ranOnUi = false;

protected:
    void execute() override {
        ui::synchronize([this] { ranOnUi = ui::Application::isUiThread(); });
    }
};

TEST(Thread, WaitingOnTheUiThreadServesTheThreadsSynchronize) {
    ASSERT_TRUE(ui::Application::initialize());
    SynchronizingThread thread;
    thread.resume();
    thread.waitFor();  // would never return if the wait did not serve synchronize
    EXPECT_TRUE(thread.ranOnUi);
}

class ThrowingThread : public win::Thread {
public:
    ~ThrowingThread() override { terminateAndWait(); }

protected:
    void execute() override { throw std::runtime_error("disk on fire"); }
};

TEST(Thread, AnExceptionOfAThreadIsShownOnTheUiThreadWithTheTitle) {
    ASSERT_TRUE(ui::Application::initialize());
    ui::Application::setTitle("Synchronize test");
    std::vector<win::MessageBoxRequest> shown;
    bool onUiThread = false;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
        shown.push_back(r);
        onUiThread = ui::Application::isUiThread();
        return IDOK;
    });
    {
        ThrowingThread thread;
        thread.resume();
        thread.waitFor();
    }
    win::setMessageBoxHandler({});
    ui::Application::setTitle("");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "disk on fire");
    EXPECT_EQ(shown[0].caption, "Synchronize test");
    EXPECT_EQ(shown[0].flags, UINT(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(onUiThread);
}

}  // namespace
