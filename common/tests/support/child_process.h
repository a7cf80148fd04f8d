// Runs a piece of a test in a child process of its own: for checks that end
// the process (internal checks, fatal start-up failures). The test program's
// main runs the named scenario instead of the tests when it is started with
// --child=NAME.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

struct ChildResult {
    unsigned long exitCode = 0;
    std::string output;  // standard output and standard error together
};

// Starts this test program again with --child=name and waits for it.
ChildResult runChild(const std::string& name);

// Registers a scenario; use CHILD_SCENARIO.
bool registerChildScenario(const std::string& name, std::function<void()> body);

// Runs the scenario named by a --child= argument, if any; returns false when
// there is none. The scenario's own exit ends the process.
bool runChildScenarioFromArgs(int argc, char** argv, int& exitCode);

}  // namespace testing_support

#define CHILD_SCENARIO(name)                                                 \
    static void childScenario_##name();                                      \
    static const bool childScenarioRegistered_##name =                       \
        testing_support::registerChildScenario(#name, childScenario_##name); \
    static void childScenario_##name()
