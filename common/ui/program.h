// The start of a windowed program, the same for the three programs: one copy
// per desktop, a boundary that nothing escapes, the application title, the
// windows that live for the run, the message loop and an orderly release.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace ui {

class Window;

// The windows a program keeps for the whole run; the first made is the main
// window, whose close ends the message loop.
class ProgramWindows {
public:
    virtual ~ProgramWindows() = default;
    virtual Window& mainWindow() = 0;
};

struct ProgramSteps {
    // The named mutex that keeps one copy running. A second start ends at
    // once, silently, with exit code -1.
    std::string mutexName;
    std::string title;
    // Before any window: 0 to go on, or the exit code to end with.
    std::function<int()> prepare;
    // Makes the windows; runs after the user-interface layer is initialised
    // and the title set.
    std::function<std::unique_ptr<ProgramWindows>()> makeWindows;
    // After the message loop, once the windows are gone.
    std::function<void()> release;
};

// Runs the steps and returns the program's exit code: 0 after a normal end,
// -1 for a second copy or for anything that escapes `prepare`. An exception
// from the windows or the message loop is shown in the standard exception
// box and the program goes on to `release`; one from `release` is shown and
// the program still ends with 0.
int runProgram(const ProgramSteps& steps);

}  // namespace ui
