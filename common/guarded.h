// The boundaries where control goes back to Windows or a thread ends: nothing
// escapes them. What would escape is reported, and the program goes on.
#pragma once

#include <exception>

namespace win {

// Shows what escaped. Until the program installs its own report (the
// user-interface layer shows the standard exception box with the
// application's title), a message box captioned "Error" says it. Either way
// the box appears on the user-interface thread, whatever thread reports.
void reportException(const char* what) noexcept;

using ExceptionReport = void (*)(const char* what);
// An empty report restores the default.
void setExceptionReport(ExceptionReport report);

// Runs fn and reports anything it throws. Returns false when it threw.
template <typename F>
bool guarded(F&& fn) noexcept {
    try {
        fn();
        return true;
    } catch (const std::exception& e) {
        reportException(e.what());
    } catch (...) {
        reportException("Unknown exception");
    }
    return false;
}

}  // namespace win
