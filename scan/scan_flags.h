// Process-wide state of scan runs, shared by the scan monitor and the main
// window.
#pragma once

#include <atomic>

namespace sysrepair {

// False from the start of a scan run until the monitor's final report. The
// main window waits for it before it closes.
extern std::atomic<bool> scanFinished;
// Whether the monitor saw a running category on its previous pass.
extern std::atomic<bool> wasRunning;

}  // namespace sysrepair
