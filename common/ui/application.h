// The application as a whole: start-up of the window classes and common
// controls, the message loop, and the standard report of an escaped
// exception. Everything here runs on the user-interface thread, the thread
// that called initialize().
#pragma once

#include <windows.h>

#include <string>

#include "common/guarded.h"

namespace ui {

class Window;

class Application {
public:
    // Loads the common controls and the rich-text library, registers the
    // window classes and makes the calling thread the user-interface thread:
    // from then on the layers below reach it through runOnUiThread
    // (common/ui_thread.h) and report exceptions with showException. Later
    // calls do nothing. False when a part could not be set up.
    static bool initialize();
    static bool isUiThread();

    static void setTitle(const std::string& title);
    static std::string title();
    // The application's icon: the main window's, and given to windows made
    // later. Loaded by the caller and kept for the life of the process.
    static void setIcon(HICON icon);
    static HICON icon();

    // Shows the main window and runs the message loop until it closes or
    // terminate() is called. Returns the exit code of the quit message.
    static int run(Window& mainWindow);
    static Window* mainWindow();
    // Dispatches every message waiting now, then returns; for long operations
    // on the user-interface thread that must keep the windows alive.
    static void processMessages();
    // Ends the message loop (and any modal loop inside it).
    static void terminate(int exitCode = 0);
    static void minimize();

    // The standard box for an exception that reached a window procedure, a
    // thread or the top level, shown on the user-interface thread with the
    // application's title; the program goes on afterwards.
    static void showException(const char* what);

    // The screen's size in layout units (common/ui/layout_scale.h).
    static int screenWidth();
    static int screenHeight();
};

}  // namespace ui
