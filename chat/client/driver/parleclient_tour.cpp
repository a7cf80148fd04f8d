// parleclient_tour.exe STEP [ARGS]: one step of a walk through a running
// Parleclient, for the run command, which plays the support agent on the
// support server and takes a screenshot between the steps. Steps:
//   login NAME EMAIL  wait for the login form, fill it in, press Start Chat
//                     and wait for the session's caption
//   say TEXT          type a line into the chat window and press Submit
//   close             ask to exit and answer Yes
// Exit code 0 when the step was done, 1 when it was not.
#include <cstdio>
#include <string>

#include "common/tests/driver/window_driver.h"

using namespace window_driver;

namespace {

// The running Parleclient's process: the one with the login form, shown or
// not; 0 when there was none within the time.
DWORD findParleclient(int seconds) {
    DWORD pid = 0;
    pollUntil(
        [&] {
            if (HWND form = FindWindowA(nullptr, "Login")) GetWindowThreadProcessId(form, &pid);
            return pid != 0;
        },
        seconds);
    return pid;
}

HWND chatWindow(DWORD pid) {
    for (HWND w : visibleWindows(pid))
        if (writableChildOfClass(w, "RichEdit20A")) return w;
    return nullptr;
}

HWND buttonCalled(HWND window, const std::string& caption) {
    return visibleChildWithText(window, [&](const std::string& t) { return t == caption; });
}

bool login(const std::string& name, const std::string& email) {
    const DWORD pid = findParleclient(60);
    HWND form = pid ? waitForWindow(pid, "Login", 30) : nullptr;
    if (!form) return false;
    typeText(childOfClass(form, "Edit", 0), name);
    typeText(childOfClass(form, "Edit", 1), email);
    pressButton(buttonCalled(form, "Start Chat"));
    return pollUntil(
        [&] {
            HWND chat = chatWindow(pid);
            return chat && windowText(chat).rfind("Brisklane Support - Live Chat on ", 0) == 0;
        },
        30);
}

bool say(const std::string& text) {
    HWND chat = chatWindow(findParleclient(10));
    if (!chat) return false;
    typeText(writableChildOfClass(chat, "RichEdit20A"), text);
    pressButton(buttonCalled(chat, "&Submit"));
    return true;
}

bool closeParleclient() {
    const DWORD pid = findParleclient(10);
    HWND chat = chatWindow(pid);
    if (!chat) return false;
    PostMessageA(chat, WM_CLOSE, 0, 0);
    HWND box = waitForMessageBox(pid, 30);
    return box && answer(box, IDYES);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string step = argc > 1 ? argv[1] : "";
    bool done = false;
    if (step == "login" && argc > 3) done = login(argv[2], argv[3]);
    if (step == "say" && argc > 2) done = say(argv[2]);
    if (step == "close") done = closeParleclient();
    if (!done) std::fprintf(stderr, "parleclient_tour: step %s failed\n", step.c_str());
    return done ? 0 : 1;
}
