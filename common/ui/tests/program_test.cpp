// The program start that the three programs share.
#include "common/ui/program.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "common/message_box.h"
#include "common/tests/support/test_registry.h"
#include "common/ui/application.h"
#include "common/ui/window.h"

namespace {

// A main window whose message loop ends as soon as it runs.
class QuickWindows : public ui::ProgramWindows {
public:
    QuickWindows() { PostQuitMessage(0); }
    ui::Window& mainWindow() override { return window; }

private:
    ui::Window window{ui::WindowOptions()};
};

class ProgramStart : public ::testing::Test {
protected:
    ProgramStart() {
        steps.mutexName = testing_support::uniqueName("MendoraProgramTest");
        steps.title = "Program Test";
        steps.prepare = [this] {
            calls.push_back("prepare");
            return 0;
        };
        steps.makeWindows = [this] {
            calls.push_back("windows");
            return std::unique_ptr<ui::ProgramWindows>(new QuickWindows());
        };
        steps.release = [this] { calls.push_back("release"); };
        win::setMessageBoxHandler([this](const win::MessageBoxRequest& r) {
            shown.push_back(r);
            return IDOK;
        });
    }
    ~ProgramStart() override {
        win::setMessageBoxHandler({});
        ui::Application::setTitle("");
    }

    ui::ProgramSteps steps;
    std::vector<std::string> calls;
    std::vector<win::MessageBoxRequest> shown;
};

TEST_F(ProgramStart, RunsTheStepsInOrderAndEndsWithZero) {
    EXPECT_EQ(ui::runProgram(steps), 0);
    EXPECT_EQ(calls, (std::vector<std::string>{"prepare", "windows", "release"}));
    EXPECT_EQ(ui::Application::title(), "Program Test");
    EXPECT_TRUE(shown.empty());
}

TEST_F(ProgramStart, ASecondCopyEndsAtOnceWithMinusOne) {
    HANDLE first = CreateMutexA(nullptr, FALSE, steps.mutexName.c_str());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ui::runProgram(steps), -1);
    CloseHandle(first);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(shown.empty());
}

TEST_F(ProgramStart, APreparationThatRefusesEndsBeforeAnyWindow) {
    steps.prepare = [this] {
        calls.push_back("prepare");
        return -1;
    };
    EXPECT_EQ(ui::runProgram(steps), -1);
    EXPECT_EQ(calls, (std::vector<std::string>{"prepare"}));
}

TEST_F(ProgramStart, WhatEscapesIsShownAndDecidesTheExitCode) {
    // From the preparation: the standard box, and the program ends with -1.
    steps.prepare = []() -> int { throw std::runtime_error("no registry"); };
    EXPECT_EQ(ui::runProgram(steps), -1);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "no registry");
    EXPECT_TRUE(calls.empty());

    // From the windows: shown with the title, and the release still comes.
    shown.clear();
    steps.mutexName = testing_support::uniqueName("MendoraProgramTest");
    steps.prepare = [] { return 0; };
    steps.makeWindows = []() -> std::unique_ptr<ui::ProgramWindows> {
        throw std::runtime_error("window failed");
    };
    EXPECT_EQ(ui::runProgram(steps), 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "window failed");
    EXPECT_EQ(shown[0].caption, "Program Test");
    EXPECT_EQ(calls, (std::vector<std::string>{"release"}));
}

}  // namespace
