#include "updater/update_install.h"

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include "common/app_path.h"
#include "common/registry_reader_writer.h"
#include "common/suite_registry.h"
#include "common/win_handles.h"
#include "updater/file_name_code.h"
#include "updater/file_replace.h"
#include "updater/install_journal.h"
#include "updater/install_transaction.h"
#include "updater/verified_download.h"

namespace updater {

namespace {

// How long closing Mendora may take: its answer to the end of the session,
// and the end of its process.
const UINT kMendoraAnswerMs = 5000;
const DWORD kMendoraEndMs = 10000;

// A registry helper on a key below HKEY_LOCAL_MACHINE.
class MachineKey : public win::RegistryReaderWriter {
public:
    explicit MachineKey(const char* path) {
        setRoot(HKEY_LOCAL_MACHINE);
        setKey(path);
    }
};

std::string fullPath(const std::string& path) {
    char full[MAX_PATH + 1] = {};
    const DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full, n) : path;
}

// Whether the process is the install folder's Mendora.exe.
bool isInstalledMendora(HANDLE process) {
    char image[MAX_PATH + 1] = {};
    if (!GetModuleFileNameExA(process, nullptr, image, MAX_PATH)) return false;
    return lstrcmpiA(fullPath(image).c_str(),
                     fullPath(installFolder() + win::kMendoraEntry).c_str()) == 0;
}

}  // namespace

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

void closeMendora() {
    if (HWND window = FindWindowA(nullptr, "Mendora"))
        SendMessageTimeoutA(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, kMendoraAnswerMs,
                            nullptr);
    MachineKey reg(win::kSuiteKey);
    bool read = false;
    const int32_t id = reg.readInt(win::kProcessIdValue, read);
    if (!read) return;
    win::KernelHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, static_cast<DWORD>(id)));
    // An id left by a Mendora that has ended may name another program now.
    if (!process || !isInstalledMendora(process.get())) return;
    if (TerminateProcess(process.get(), 0)) WaitForSingleObject(process.get(), kMendoraEndMs);
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
    MachineKey backup(win::kBackupKey);
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
    closeMendora();
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
