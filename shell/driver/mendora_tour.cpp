// mendora_tour.exe STEP: one step of a walk through a running Mendora, for
// the run command, which takes a screenshot between the steps. Steps:
//   welcome   wait for the main window
//   scanning  click Start Scan and wait until a scanner runs
//   results   wait for the results panel
//   close     ask to close and answer Yes
// Exit code 0 when the step was done, 1 when it was not.
#include <cstdio>
#include <string>

#include "window_driver.h"

using namespace window_driver;

int main(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    DWORD pid = 0;
    waitUntil([&] { return (pid = findMendoraProcess()) != 0; }, 60);
    HWND window = pid ? waitForMainWindow(pid, 1) : nullptr;
    if (!window) {
        std::fprintf(stderr, "Mendora's window did not show\n");
        return 1;
    }
    if (step == "welcome") return 0;
    if (step == "scanning") {
        clickAt(window, kStartScan.x, kStartScan.y);
        if (waitUntil([&] { return visibleChildWithText(window, isRunningCaption) != nullptr; },
                      120))
            return 0;
        std::fprintf(stderr, "no scanner ran\n");
        return 1;
    }
    if (step == "results") {
        HWND headline = nullptr;
        if (waitUntil([&] { return (headline = visibleChildWithText(window, isResultHeadline)); },
                      600)) {
            std::printf("%s\n", windowText(headline).c_str());
            return 0;
        }
        std::fprintf(stderr, "the scan did not end\n");
        return 1;
    }
    if (step == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        HWND box = waitForMessageBox(pid, 30);
        if (box && answer(box, IDYES)) return 0;
        std::fprintf(stderr, "no close question\n");
        return 1;
    }
    std::fprintf(stderr, "usage: mendora_tour welcome|scanning|results|close\n");
    return 1;
}
