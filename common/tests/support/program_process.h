// A program of the suite started as a process of its own, for tests that
// meet it as the user does; ended by force if it still runs when the test is
// over.
#pragma once

#include <windows.h>

#include <string>

#include "common/win_handles.h"

namespace testing_support {

class ProgramProcess {
public:
    // Starts the program file with the arguments, if any.
    explicit ProgramProcess(const std::string& program, const std::string& arguments = "");
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool started() const { return started_; }
    // The platform's error of the last failed start.
    DWORD startError() const { return startError_; }
    DWORD id() const { return id_; }
    // The exit code, or STILL_ACTIVE when it did not end within the time.
    DWORD exitCode(int seconds) const;

private:
    win::KernelHandle process_;
    DWORD id_ = 0;
    bool started_ = false;
    DWORD startError_ = 0;
};

}  // namespace testing_support
