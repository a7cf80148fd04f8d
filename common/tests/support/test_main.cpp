// The main of every test program: the tests, or one child scenario.
//
// Test programs run side by side. Each gets a temporary folder of its own
// (TEMP and TMP, inherited by the programs and child processes it starts), so
// that what one plants there is never scanned, held open or removed by
// another; the folder goes when the tests end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/tests/support/app_paths_entry.h"
#include "common/tests/support/child_process.h"
#include "common/tests/support/test_files.h"

namespace {

// Empty when the folder cannot be made; the tests then share the machine's.
std::string makeOwnTemporaryFolder() {
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n > MAX_PATH) return std::string();
    std::string name = testing_support::ownProgramName();
    name = name.substr(0, name.find_last_of('.'));
    const std::string folder =
        std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return std::string();
    SetEnvironmentVariableA("TEMP", folder.c_str());
    SetEnvironmentVariableA("TMP", folder.c_str());
    return folder;
}

}  // namespace

int main(int argc, char** argv) {
    int exitCode = 0;
    // A child scenario runs in its parent's temporary folder.
    if (testing_support::runChildScenarioFromArgs(argc, argv, exitCode)) return exitCode;
    const std::string temporary = makeOwnTemporaryFolder();
    ::testing::InitGoogleTest(&argc, argv);
    exitCode = RUN_ALL_TESTS();
    if (!temporary.empty()) testing_support::removeTree(temporary);
    return exitCode;
}
