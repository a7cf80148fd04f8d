// Drives a running program of the suite from another process, as a user
// would: finds its windows and message boxes, reads their texts, types into
// boxes, clicks buttons and answers questions. Used by the programs' tests
// and by the tours that the run command takes through the windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace window_driver {

// Polls a condition for up to `seconds`.
bool waitUntil(const std::function<bool()>& condition, int seconds);

// The visible top-level windows of a process, optionally of one class.
std::vector<HWND> visibleWindows(DWORD processId, const std::string& className = "");
// Mendora's main window: the visible window of the process with a client
// area of 730 by 595; none when it did not show within the time.
HWND waitForMainWindow(DWORD processId, int seconds);
// The first message box the process shows within the time, or none.
HWND waitForMessageBox(DWORD processId, int seconds);
// The process of the visible main window called "Mendora", or 0.
DWORD findMendoraProcess();
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

// The deepest visible control under a point of the window's client area.
HWND controlAt(HWND window, int x, int y);
// A press and release on the control under a point of the client area.
void clickAt(HWND window, int x, int y);
// A visible child window (at any depth) whose text matches, or none.
HWND visibleChildWithText(HWND window, const std::function<bool(const std::string&)>& match);

// The process's visible top-level window with this caption, waited for; none
// when it did not show within the time.
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

// Client coordinates inside Mendora's Start Scan button.
const POINT kStartScan = {288 + 16 + 10, 152 + 248 + 10};
// Client coordinates inside Mendora's Windows information button.
const POINT kWindowsInformation = {60 + 197 / 2, 163 + 62 / 2};
// The Windows information window's "Advanced System Info", after File > Exit.
const int kAdvancedSystemInfo = 1;

// Whether a text is the results headline: "No Problems Detected" or a count
// followed by " Possible Problems".
bool isResultHeadline(const std::string& text);
// Whether a text is the scanning panel's caption naming a running scanner.
bool isRunningCaption(const std::string& text);

}  // namespace window_driver
