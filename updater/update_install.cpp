#include "updater/update_install.h"

#include <windows.h>

#include <shellapi.h>

#include "common/app_path.h"
#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "common/win_handles.h"
#include "updater/file_name_code.h"
#include "updater/file_replace.h"
#include "updater/install_journal.h"
#include "updater/install_transaction.h"
#include "updater/mendora_closer.h"
#include "updater/verified_download.h"

namespace updater {

std::string installFolder() {
    return win::appPathFolder(win::mendoraEntryName());
}

std::string updatesFolder() {
    return installFolder() + "updates\\";
}

std::string backupFolder() {
    return installFolder() + "backup\\";
}

void downloadUpdates(InstallView& window, UpdaterHandle* handle, std::vector<LumoFile>& list) {
    const size_t n = list.size();
    for (size_t i = 0; i < n; ++i) {
        LumoFile& file = list[i];
        file.downloaded = false;
        if (!file.needsUpdate) {
            file.newBuild = file.build;
            continue;
        }
        window.setOverallProgress(static_cast<int>(static_cast<double>(i) / n * 100));
        file.problem.clear();
        if (transfersCancelled(handle)) {
            file.problem = "the download was cancelled";
        } else if (prepareQuery(window, handle, file.name, file.name, file.build)) {
            window.setStatus("Downloading " + file.name);
            fetchUpdateFile(window, handle, file);
        } else {
            file.problem = "the update server could not be asked";
        }
        // A file that did not arrive keeps its build.
        if (!file.downloaded) file.newBuild = file.build;
    }
}

std::string closeMendora() {
    switch (closeRunningMendora(installFolder())) {
        case MendoraClosed::NotRunning:
        case MendoraClosed::Ended:
        case MendoraClosed::Terminated:
            return std::string();
        case MendoraClosed::Busy:
            return "Mendora is repairing or restoring; try again when it has finished";
        case MendoraClosed::StillRunning:
            break;
    }
    return "Mendora could not be closed";
}

void loadBackupList(UpdateView& window, std::vector<LumoFile>& list) {
    loadBuildList(window, win::kBackupKey, win::kUserRestoredValue, list);
}

bool restoreFiles(InstallView& window) {
    std::vector<LumoFile> backups;
    loadBackupList(window, backups);
    bool ok = true;
    for (const LumoFile& file : backups)
        if (!replaceWithCopy(backupFolder() + file.name,
                             installFolder() + decodeFileName(file.name)))
            ok = false;
    return ok;
}

void deleteBackupFiles(InstallView& window) {
    std::vector<LumoFile> backups;
    loadBackupList(window, backups);
    for (const LumoFile& file : backups) DeleteFileA((backupFolder() + file.name).c_str());
}

void restoreBuilds(InstallView& window) {
    std::vector<LumoFile> backups;
    loadBackupList(window, backups);
    for (const LumoFile& file : backups) recordInstalledBuild(file.name, file.build);
    win::SuiteRecordKey backup(win::kBackupKey);
    std::vector<std::string> names;
    backup.openValues();
    bool more = false;
    for (std::string name = backup.nextValueName(more); more; name = backup.nextValueName(more))
        names.push_back(name);
    for (const std::string& name : names) backup.deleteValue(name);
}

void launchMendora() {
    ShellExecuteA(nullptr, "open", (installFolder() + "mendora.exe").c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

std::string installMessage(const std::vector<LumoFile>& list, bool& anyInstalled) {
    anyInstalled = false;
    std::string left;
    for (const LumoFile& file : list) {
        if (!file.needsUpdate) continue;
        if (file.installed)
            anyInstalled = true;
        else
            left += "\n- " + file.name + ": " +
                    (file.problem.empty() ? "it was not installed" : file.problem);
    }
    const std::string notes = left.empty() ? "" : "\n\nNot updated:" + left;
    if (anyInstalled)
        return "Mendora Update Complete" + notes + (notes.empty() ? "\n" : "\n\n") +
               "Do you want to restart Mendora?";
    return "There was an error completing your update" + notes;
}

void installUpdates(InstallView& window, UpdaterHandle* handle, std::vector<LumoFile>& list) {
    window.setItemProgress(0);
    window.setOverallProgress(0);
    CreateDirectoryA(updatesFolder().c_str(), nullptr);
    CreateDirectoryA(backupFolder().c_str(), nullptr);
    downloadUpdates(window, handle, list);
    window.setOverallProgress(100);
    // The user closed the window during a transfer: nothing is installed,
    // and nothing arrived stays.
    if (transfersCancelled(handle)) {
        window.trace("cancelled: nothing installed");
        for (const LumoFile& file : list)
            if (file.downloaded) DeleteFileA((updatesFolder() + file.localName).c_str());
        return;
    }
    installDownloaded(window, list, closeMendora);
    bool anyInstalled = false;
    const std::string message = installMessage(list, anyInstalled);
    if (!anyInstalled) {
        window.ask(message, "Error", MB_OK | MB_ICONQUESTION);
        return;
    }
    if (window.ask(message, "Updater", MB_YESNO) == IDYES) launchMendora();
}

void restorePreviousVersion(InstallView& window) {
    if (window.ask("You are about to restore the version of Mendora that was on your system "
                   "before the last update you applied.\nAre you sure you want to restore?",
                   "Confirm", MB_YESNO) != IDYES)
        return;
    window.changingFiles(true);
    const std::string busy = closeMendora();
    if (!busy.empty()) {
        window.ask("There was an error completing your update\n\n" + busy, "Error",
                   MB_OK | MB_ICONQUESTION);
        return;
    }
    if (!restoreFiles(window)) {
        window.ask("There was an error completing your update", "Error", MB_OK | MB_ICONQUESTION);
        return;
    }
    deleteBackupFiles(window);
    restoreBuilds(window);
    setRestoreAvailable(0);
    if (window.ask("Mendora Restore Complete\nDo you want to launch Mendora?", "Restore",
                   MB_YESNO) == IDYES)
        launchMendora();
}

}  // namespace updater
