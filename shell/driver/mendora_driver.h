// What driving Mendora from outside needs to know of its windows: where the
// main window's picture buttons are, how its panels' captions read, and how
// its main window is told from the others.
#pragma once

#include <windows.h>

#include <string>

namespace mendora_driver {

// Mendora's main window: the visible window of the process with a client
// area of 730 by 595 at 96 DPI (scaled for the screen); none when it did not
// show within the time.
HWND waitForMainWindow(DWORD processId, int seconds);
// The process of the visible main window called "Mendora", or 0.
DWORD findMendoraProcess();

// Client coordinates inside Mendora's Start Scan button.
const POINT kStartScan = {288 + 16 + 10, 152 + 248 + 10};
// Client coordinates inside Mendora's Optimize button, and inside the Make
// Repairs and Problem Report buttons of the results panel.
const POINT kOptimize = {288 + 216 + 10, 152 + 248 + 10};
const POINT kMakeRepairs = {280 + 32 + 10, 136 + 176 + 10};
const POINT kProblemReport = {280 + 216 + 10, 136 + 176 + 10};
// Client coordinates inside the welcome panel's Kept Items button.
const POINT kKeptItems = {288 + 312 + 20, 152 + 82 + 10};
// Client coordinates inside Mendora's Windows information button.
const POINT kWindowsInformation = {60 + 197 / 2, 163 + 62 / 2};
// The Windows information window's "Advanced System Info", after File > Exit.
const int kAdvancedSystemInfo = 1;

// Chooses the one category (its index in the task selection dialog) for the
// next scan as a person does with the keyboard: Optimize, a tick on it
// alone, OK. The main window must be in the foreground. False when the
// dialog did not do as told.
bool chooseOnlyCategory(DWORD processId, HWND window, int category);

// Whether a text is the results headline: "No Problems Detected" or a count
// followed by " Possible Problems".
bool isResultHeadline(const std::string& text);
// Whether a text is the scanning panel's caption naming a running scanner.
bool isRunningCaption(const std::string& text);

}  // namespace mendora_driver
