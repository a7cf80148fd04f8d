// Installing the files that have newer builds, with a backup of the files they
// replace, and bringing the backed-up files back.
#pragma once

#include <string>
#include <vector>

#include "updater/update_check.h"
#include "updater/update_view.h"
#include "updater/updater.h"

namespace updater {

// What the install and the restore need from the updater window beyond the
// queries: questions and messages, owned by the window.
class InstallView : public UpdateView {
public:
    // A message box owned by the window; the button pressed (IDYES, IDNO,
    // IDOK).
    virtual int ask(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // From the start of a restore to its end: the end of the session waits.
    virtual void changingFiles(bool /*changing*/) {}
};

// The updater's folders, below the install folder.
std::string installFolder();
std::string updatesFolder();
std::string backupFolder();

// Fetches every flagged file into "updates" (unflagged ones keep their build
// as the new one); only files signed by the publisher arrive.
void downloadUpdates(InstallView& window, UpdaterHandle* handle, std::vector<LumoFile>& list);

// Makes a running Mendora end before its files are replaced (see
// mendora_closer.h): empty when none runs any more, otherwise why its files
// cannot be replaced now.
std::string closeMendora();

// The Backup key's file entries, read as the update list is.
void loadBackupList(UpdateView& window, std::vector<LumoFile>& list);

// Puts every backed-up file back; false when one could not be.
bool restoreFiles(InstallView& window);
void deleteBackupFiles(InstallView& window);
// Writes the backed-up builds back into the Update key and empties the
// Backup key.
void restoreBuilds(InstallView& window);
// Starts the install folder's mendora.exe.
void launchMendora();

// The install after the user agreed, up to the question whether to restart
// Mendora (asked and answered here). Nothing is installed when the transfers
// were cancelled.
void installUpdates(InstallView& window, UpdaterHandle* handle, std::vector<LumoFile>& list);

// The message after an install: the completion question when a file was
// installed, else the error; either names each flagged file that was not
// installed and why.
std::string installMessage(const std::vector<LumoFile>& list, bool& anyInstalled);

// "Restore previous version": the confirmation, the restore and its message.
void restorePreviousVersion(InstallView& window);

}  // namespace updater
