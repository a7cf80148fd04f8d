#include "common/guarded.h"

#include <windows.h>

#include <atomic>

#include "common/message_box.h"

namespace win {

namespace {

std::atomic<ExceptionReport> installedReport{nullptr};

}  // namespace

void reportException(const char* what) noexcept {
    const char* text = what ? what : "Unknown exception";
    try {
        if (ExceptionReport report = installedReport) {
            report(text);
            return;
        }
        showMessageOnUiThread(text, "Error", MB_OK | MB_ICONERROR);
    } catch (...) {
        // A report that fails itself has nowhere left to go.
    }
}

void setExceptionReport(ExceptionReport report) {
    installedReport = report;
}

}  // namespace win
