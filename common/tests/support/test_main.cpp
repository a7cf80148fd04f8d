// The main of every test program: the tests, or one child scenario.
#include <gtest/gtest.h>

#include "child_process.h"

int main(int argc, char** argv) {
    int exitCode = 0;
    if (testing_support::runChildScenarioFromArgs(argc, argv, exitCode)) return exitCode;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
