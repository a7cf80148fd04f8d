// Ending a running Mendora before its files are replaced: asked first, as the
// end of the session would ask it, and ended by force only when it is the
// install folder's own Mendora.exe and did not end by itself.
#pragma once

#include <string>

namespace updater {

enum class MendoraClosed {
    // No Mendora runs under the id it recorded: none was recorded, the
    // process is gone, or the id now names another program (left alone).
    NotRunning,
    // It agreed and ended within the time.
    Ended,
    // It did not end within the time and was ended by force.
    Terminated,
    // It refused: a repair or restore is under way. It was left running.
    Busy,
    // It did not end, and it was not ended by force: its program file is not
    // the install folder's Mendora.exe, or the force failed.
    StillRunning,
};

// Finds Mendora's main window (by its class) in the process whose id Mendora
// recorded, asks it to end as a session end would (WM_QUERYENDSESSION, then
// WM_ENDSESSION), and waits for the process. The folder ends with a
// backslash; long and short forms of it are alike. Each of Mendora's threads
// has 5 s to answer each message, the process 15 s more to end.
MendoraClosed closeRunningMendora(const std::string& installFolder);

}  // namespace updater
