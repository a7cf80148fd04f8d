// updater_tour.exe STEP: one step of a walk through a running MendoraUpdater,
// for the run command, which serves the updates and takes a screenshot
// between the steps. Steps:
//   check    wait for the window and press Check For Updates; the question
//            that follows stays open
//   install  answer Yes to the install question and wait for the question
//            whether to restart Mendora
//   finish   answer No to it
// Exit code 0 when the step was done, 1 when it was not; the step's message
// box text is printed.
#include <cstdio>
#include <string>

#include "common/tests/driver/window_driver.h"

using namespace window_driver;

namespace {

DWORD findUpdater(int seconds) {
    DWORD pid = 0;
    pollUntil(
        [&] {
            if (HWND window = FindWindowA(nullptr, "Mendora Updater"))
                GetWindowThreadProcessId(window, &pid);
            return pid != 0;
        },
        seconds);
    return pid;
}

// The updater's message box with this caption, waited for.
HWND boxCalled(DWORD pid, const std::string& caption, int seconds) {
    HWND box = nullptr;
    pollUntil([&] { return (box = waitForMessageBox(pid, 1)) && windowText(box) == caption; },
              seconds);
    return box && windowText(box) == caption ? box : nullptr;
}

bool shown(HWND box) {
    if (box) std::printf("%s\n", messageText(box).c_str());
    return box != nullptr;
}

bool check() {
    const DWORD pid = findUpdater(60);
    HWND window = pid ? waitForWindow(pid, "Mendora Updater", 30) : nullptr;
    if (!window) return false;
    pressButton(visibleChildWithText(
        window, [](const std::string& t) { return t == "Check For Updates"; }));
    return shown(boxCalled(pid, "Updates Found", 120));
}

bool install() {
    const DWORD pid = findUpdater(10);
    HWND question = boxCalled(pid, "Updates Found", 10);
    return question && answer(question, IDYES) && shown(boxCalled(pid, "Updater", 300));
}

bool finish() {
    const DWORD pid = findUpdater(10);
    HWND question = boxCalled(pid, "Updater", 10);
    return question && answer(question, IDNO);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    bool done = false;
    if (step == "check") done = check();
    if (step == "install") done = install();
    if (step == "finish") done = finish();
    if (!done) std::fprintf(stderr, "updater_tour: step \"%s\" was not done\n", step.c_str());
    return done ? 0 : 1;
}
