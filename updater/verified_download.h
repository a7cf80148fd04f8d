// The fetch of one flagged file: its download details from the update
// server, the checks of what they promise, and the download itself. Only a
// file its publisher signed, of a build not older than the installed one,
// arrives.
#pragma once

#include "updater/update_check.h"
#include "updater/update_view.h"
#include "updater/updater.h"

namespace updater {

// Asks for the prepared file's download details and downloads it into the
// install folder's "updates" folder, then checks it against the publisher's
// signature. On success the file's newBuild, localName, size and sha256 say
// what arrived; otherwise its problem says why nothing did, the trace log has
// a line on it and no downloaded file is left.
bool fetchUpdateFile(UpdateView& window, UpdaterHandle* handle, LumoFile& file);

}  // namespace updater
