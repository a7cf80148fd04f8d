// Drives a running program from another process, as a user would: finds its
// windows and message boxes, reads their texts, types into boxes, clicks
// buttons, answers questions and ends it. What it knows of one program (where
// its buttons are, what its captions say) lives with that program's driver;
// this is what every program's tests and tours share.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace window_driver {

// Polls a condition every 50 ms for up to `seconds`. Unlike the test
// programs' waitUntil, it serves no messages: a driver has no windows of its
// own for other threads to call.
bool pollUntil(const std::function<bool()>& condition, int seconds);

// The visible top-level windows of a process, optionally of one class.
std::vector<HWND> visibleWindows(DWORD processId, const std::string& className = "");
// The first message box the process shows within the time, or none.
HWND waitForMessageBox(DWORD processId, int seconds);
// The process of a visible top-level window with this caption for which
// the test holds, or 0.
DWORD findProcessWithWindow(const std::string& caption, const std::function<bool(HWND)>& test);
// The program file of a process; empty when it cannot be read.
std::string programFileOf(DWORD processId);
// Ends a process by force and waits for its end.
void endProcess(DWORD processId);
// Ends every process whose program file lies in the folder (given with a
// trailing backslash): the programs a test had started from there, so that
// none outlives the test, even one that failed halfway.
void endProgramsIn(const std::string& folder);
// A running process of this program file, or 0.
DWORD findProcessOf(const std::string& programFile);

class ProgramsInFolderEnder {
public:
    explicit ProgramsInFolderEnder(const std::string& folder) : folder_(folder) {}
    ~ProgramsInFolderEnder() { endProgramsIn(folder_); }

private:
    std::string folder_;
};

std::string windowText(HWND hwnd);
// The text of a message box.
std::string messageText(HWND box);
// Presses a message box button (IDYES, IDNO, IDOK).
bool answer(HWND box, int button);

// The suite's programs lay themselves out for the system's DPI from places
// given for 96 DPI; a driver names places the same way. The pixels of that
// many 96-DPI pixels on this screen.
int scaledForScreen(int pixelsAt96Dpi);

// The deepest visible control under a point of the window's client area,
// in pixels.
HWND controlAt(HWND window, int x, int y);
// A press and release on the control under a point of the client area given
// for 96 DPI (scaled for the screen).
void clickAt(HWND window, int x, int y);
// A visible child window (at any depth) whose text matches, or none.
HWND visibleChildWithText(HWND window, const std::function<bool(const std::string&)>& match);

// The process's visible top-level window for which the test holds, waited
// for; none when it did not show within the time.
HWND waitForWindowWhere(DWORD processId, const std::function<bool(HWND)>& test, int seconds);
// The process's visible top-level window with this caption, waited for.
HWND waitForWindow(DWORD processId, const std::string& caption, int seconds);
// The n-th visible child (from 0, in creation order) of a window class, or
// none.
HWND childOfClass(HWND window, const std::string& className, int n = 0);
// The first visible child of a window class that a person can type into (not
// read-only), or none. Unlike a position among the visible children it holds
// while a box beside it is hidden for a moment (a box that stops drawing
// while it is filled counts as hidden).
HWND writableChildOfClass(HWND window, const std::string& className);
// Replaces the text of a box, as typing would.
void typeText(HWND box, const std::string& text);
// A click of a push button.
void pressButton(HWND button);
// Chooses an item of the window's menu bar, as a click on it would: the
// n-th item (from 0) that the window added to its menus. Wine keeps a
// menu's items in the process that made it, so another process cannot read
// them; the command ids of our menu bars follow the order of the items.
bool chooseMenuItem(HWND window, int n);
// Selects a line of a list box, as a click on it would.
void selectListLine(HWND list, int line);

// The keyboard, as a person uses it: real key input (SendInput), which the
// system hands to the window that has the focus in the foreground. A key is
// pressed and released; a chord holds the modifier (VK_SHIFT, VK_CONTROL,
// VK_MENU) around it.
void pressKey(WORD virtualKey);
void pressChord(WORD modifier, WORD virtualKey);
// Types the characters of the text, each as the key (with Shift where the
// keyboard needs it) that makes it.
void typeKeys(const std::string& text);
// The window that has the keyboard focus in the thread of the given window,
// and the thread's active window; none when it has none.
HWND focusOf(HWND window);
HWND activeWindowOf(HWND window);
// Waits until the focus in the window's thread is on a control for which the
// test holds; that control, or none.
HWND waitForFocus(HWND window, const std::function<bool(HWND)>& test, int seconds);
// Whether the first window lies above the second in the order the screen
// shows top-level windows.
bool isAbove(HWND upper, HWND lower);

}  // namespace window_driver
