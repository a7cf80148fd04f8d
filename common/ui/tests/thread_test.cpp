#include "thread.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "application.h"
#include "message_box.h"
#include "synchronize.h"

namespace {

class CountingThread : public ui::Thread {
public:
    ~CountingThread() override { terminateAndWait(); }
    std::atomic<int> passes{0};
    std::atomic<bool> executed{false};

protected:
    void execute() override {
        executed = true;
        while (!terminated()) {
            ++passes;
            Sleep(1);
        }
    }
};

template <typename Condition>
bool waitUntil(Condition done) {
    for (int i = 0; i < 3000 && !done(); ++i) ui::pauseServingThreads(10);
    return done();
}

TEST(Thread, StartsOnlyWhenResumedAndDestructionWaitsForTheEnd) {
    ASSERT_TRUE(ui::Application::initialize());
    auto thread = std::make_unique<CountingThread>();
    ASSERT_TRUE(thread->valid());
    Sleep(20);
    EXPECT_FALSE(thread->executed);  // made suspended
    thread->resume();
    ASSERT_TRUE(waitUntil([&] { return thread->passes > 2; }));
    EXPECT_FALSE(thread->finished());
    thread->terminate();
    thread->waitFor();
    EXPECT_TRUE(thread->finished());
    thread.reset();
}

TEST(Thread, ANeverResumedThreadEndsWithoutRunning) {
    ASSERT_TRUE(ui::Application::initialize());
    CountingThread* raw = nullptr;
    {
        CountingThread thread;
        raw = &thread;
        thread.waitFor();
        EXPECT_TRUE(thread.finished());
        EXPECT_FALSE(thread.executed);
    }
    (void)raw;
}

class SynchronizingThread : public ui::Thread {
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

class ThrowingThread : public ui::Thread {
public:
    ~ThrowingThread() override { terminateAndWait(); }

protected:
    void execute() override { throw std::runtime_error("disk on fire"); }
};

TEST(Thread, AnExceptionInTheBodyIsReportedAndEndsTheThread) {
    ASSERT_TRUE(ui::Application::initialize());
    std::atomic<int> boxes{0};
    std::string text;
    setMessageBoxHandler([&](const MessageBoxRequest& r) {
        text = r.text;
        ++boxes;
        return IDOK;
    });
    {
        ThrowingThread thread;
        thread.resume();
        thread.waitFor();
        EXPECT_TRUE(thread.finished());
    }
    setMessageBoxHandler({});
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, "disk on fire");
}

}  // namespace
