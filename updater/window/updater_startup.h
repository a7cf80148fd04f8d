// MendoraUpdater from start to end: one running copy, its window, the
// message loop.
#pragma once

namespace updater {

// The process exit code: 0 after a normal end, -1 when a copy already runs.
int runMendoraUpdater();

}  // namespace updater
