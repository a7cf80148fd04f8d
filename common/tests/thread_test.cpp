#include "common/thread.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "common/message_box.h"
#include "common/tests/support/waiting.h"

namespace {

class CountingThread : public win::Thread {
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

TEST(Thread, StartsOnlyWhenResumedAndDestructionWaitsForTheEnd) {
    auto thread = std::make_unique<CountingThread>();
    ASSERT_TRUE(thread->valid());
    Sleep(20);
    EXPECT_FALSE(thread->executed);  // made suspended
    thread->resume();
    ASSERT_TRUE(testing_support::waitUntil([&] { return thread->passes > 2; }));
    EXPECT_FALSE(thread->finished());
    thread->terminate();
    thread->waitFor();
    EXPECT_TRUE(thread->finished());
    thread.reset();
}

TEST(Thread, ANeverResumedThreadEndsWithoutRunning) {
    CountingThread thread;
    thread.waitFor();
    EXPECT_TRUE(thread.finished());
    EXPECT_FALSE(thread.executed);
}

class ThrowingThread : public win::Thread {
public:
    ~ThrowingThread() override { terminateAndWait(); }

protected:
    void execute() override { throw std::runtime_error("disk on fire"); }
};

TEST(Thread, AnExceptionInTheBodyIsReportedAndEndsTheThread) {
    std::atomic<int> boxes{0};
    std::string text;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
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
    win::setMessageBoxHandler({});
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, "disk on fire");
}

}  // namespace
