// The one road to modal message boxes. The programs show them with
// MessageBoxA; tests install a handler that reads and answers them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace win {

struct MessageBoxRequest {
    // Null: the window active on the calling thread, or the main window when
    // the call comes from its thread.
    HWND owner;
    std::string text;
    std::string caption;
    UINT flags;  // MB_OK, MB_YESNO, MB_ICONQUESTION, ...
    // No caption of the program's own: the platform's default ("Error").
    bool defaultCaption = false;
};

// Returns the button pressed (IDOK, IDYES, IDNO, ...).
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

int showMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags);
// A box with the platform's default caption.
int showMessageBoxWithDefaultCaption(HWND owner, const std::string& text, UINT flags);

// For code that may run on any thread, such as a scanner on the scan thread:
// the box is owned by the main window and shown on the user-interface thread
// (common/ui_thread.h), and the caller waits for the answer. 0 when it could
// not be shown.
int showMessageOnUiThread(const std::string& text, const std::string& caption, UINT flags);

// Replaces MessageBoxA for the whole process; an empty handler restores it.
void setMessageBoxHandler(MessageBoxHandler handler);

// The window that owns the program's message boxes when no other is named.
void setMainWindowHandle(HWND window);
HWND mainWindowHandle();

}  // namespace win
