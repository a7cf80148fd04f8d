#include "common/ui/program.h"

#include <windows.h>

#include "common/guarded.h"
#include "common/ui/application.h"
#include "common/ui/window.h"
#include "common/win_handles.h"

namespace ui {

namespace {

const int kFailed = -1;

// Lives until the process ends, so that later starts see the mutex.
win::KernelHandle& oneCopyMutex() {
    static win::KernelHandle mutex;
    return mutex;
}

bool isFirstCopy(const std::string& mutexName) {
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, mutexName.c_str());
    const DWORD error = GetLastError();
    oneCopyMutex().reset(mutex);
    return error != ERROR_ALREADY_EXISTS;
}

void runWindows(const ProgramSteps& steps) {
    if (!Application::initialize()) Application::showException("User interface failed");
    Application::setTitle(steps.title);
    std::unique_ptr<ProgramWindows> windows = steps.makeWindows();
    if (windows) Application::run(windows->mainWindow());
}

}  // namespace

int runProgram(const ProgramSteps& steps) {
    if (!isFirstCopy(steps.mutexName)) return kFailed;
    int exitCode = 0;
    if (steps.prepare && !win::guarded([&] { exitCode = steps.prepare(); })) return kFailed;
    if (exitCode != 0) return exitCode;
    if (steps.makeWindows) win::guarded([&] { runWindows(steps); });
    if (steps.release) win::guarded(steps.release);
    return 0;
}

}  // namespace ui
