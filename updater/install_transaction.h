// The install of downloaded files as one transaction: every file is backed up
// and its new build staged beside it before the first one is replaced, a
// journal in the install folder records the install meanwhile, and an install
// cut off at any moment is finished or undone by the next start.
#pragma once

#include <string>
#include <vector>

#include "updater/install_journal.h"
#include "updater/update_check.h"
#include "updater/update_view.h"

namespace updater {

// The journal's file in the install folder.
std::string journalPath();

// Backs up and stages every downloaded file of the list, records the backed
// up builds and the restore's availability, and then replaces the files.
// `beforeReplacing` runs once, between the two, when any file is about to be
// replaced (to end a running Mendora); when it gives a reason, nothing is
// replaced and the reason is each file's problem. A file whose backup copy or
// staged copy cannot be made is not replaced; its problem says why. Each
// file's installed flag says whether its new build is in place.
using BeforeReplacing = std::string (*)();
void installDownloaded(UpdateView& window, std::vector<LumoFile>& list,
                       BeforeReplacing beforeReplacing);

enum class Resumed {
    Nothing,    // no install was cut off
    Finished,   // its files were all staged: they are in place now
    Undone,     // it was cut off before any file was replaced: nothing of it is left
    Postponed,  // its files cannot be replaced now (Mendora is busy): a later start finishes it
};

// Finishes or undoes an install that was cut off, going by its journal.
Resumed resumeInterruptedInstall(UpdateView& window, BeforeReplacing beforeReplacing);

// Whether the Backup key names a file whose copy exists in "backup".
bool restoreAvailable(UpdateView& window);
void setRestoreAvailable(int available);

// Records a file's installed build: the Update key, and for Mendora.exe the
// installation's version.
void recordInstalledBuild(const std::string& encodedName, const std::string& build);

}  // namespace updater
