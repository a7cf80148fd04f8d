// The one step every message loop of the suite takes for a message: keys go
// to the dialog manager of the suite's window they are typed into, so Tab,
// Shift+Tab, the arrows, Enter, Esc and access keys work as in any dialog;
// everything else is translated and dispatched.
#pragma once

#include <windows.h>

namespace ui {

void dispatchMessage(MSG& msg);

}  // namespace ui
