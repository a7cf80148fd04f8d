#include "updater/update_install.h"

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include "common/app_path.h"
#include "common/registry_reader_writer.h"
#include "common/suite_registry.h"
#include "common/win_handles.h"
#include "updater/file_name_code.h"

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

bool copyOver(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
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
        if (!file.needsUpdate) {
            file.newBuild = file.build;
            continue;
        }
        window.setOverallProgress(static_cast<int>(static_cast<double>(i) / n * 100));
        file.downloaded = false;
        std::string newBuild;
        if (prepareQuery(window, handle, file.name, file.name, file.build)) {
            window.setStatus("Downloading " + file.name);
            file.downloaded = fetchUpdateFile(window, handle, newBuild);
        }
        // A file that did not arrive keeps its build.
        file.newBuild = file.downloaded ? newBuild : file.build;
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

void backupFiles(std::vector<LumoFile>& list) {
    const std::string folder = installFolder();
    for (LumoFile& file : list)
        file.backedUp = file.needsUpdate && file.downloaded &&
                        copyOver(folder + decodeFileName(file.name), backupFolder() + file.name);
}

bool installFiles(InstallView& window, std::vector<LumoFile>& list) {
    bool ok = true;
    const std::string folder = installFolder();
    for (LumoFile& file : list) {
        file.installed = false;
        if (!file.needsUpdate) continue;
        const std::string source = updatesFolder() + file.name;
        const std::string destination = folder + decodeFileName(file.name);
        if (!file.downloaded) {
            // Nothing arrived: the installed copy stays, and so does its build.
            window.trace("not downloaded, left as it is: " + destination);
            continue;
        }
        if (copyOver(source, destination)) {
            file.installed = true;
            DeleteFileA(source.c_str());
            window.trace("Successfully copied files");
        } else {
            window.trace("error copying files to system");
            ok = false;
        }
        window.trace(source + " to " + destination);
    }
    return ok;
}

void loadBackupList(UpdateView& window, std::vector<LumoFile>& list) {
    loadBuildList(window, win::kBackupKey, win::kUserRestoredValue, list);
}

bool restoreFiles(InstallView& window) {
    std::vector<LumoFile> backups;
    loadBackupList(window, backups);
    bool ok = true;
    for (const LumoFile& file : backups)
        if (!copyOver(backupFolder() + file.name, installFolder() + decodeFileName(file.name)))
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
    MachineKey update(win::kUpdateKey);
    for (const LumoFile& file : backups) update.writeString(file.build, file.name);
    MachineKey backup(win::kBackupKey);
    std::vector<std::string> names;
    backup.openValues();
    bool more = false;
    for (std::string name = backup.nextValueName(more); more; name = backup.nextValueName(more))
        names.push_back(name);
    for (const std::string& name : names) backup.deleteValue(name);
}

void setRestoreAvailable(int available) {
    MachineKey(win::kBackupKey).writeInt(available, win::kUserRestoredValue);
}

void launchMendora() {
    ShellExecuteA(nullptr, "open", (installFolder() + "mendora.exe").c_str(), nullptr, nullptr,
                  SW_SHOWNORMAL);
}

void installUpdates(InstallView& window, UpdaterHandle* handle, std::vector<LumoFile>& list) {
    window.setItemProgress(0);
    window.setOverallProgress(0);
    CreateDirectoryA(updatesFolder().c_str(), nullptr);
    CreateDirectoryA(backupFolder().c_str(), nullptr);
    downloadUpdates(window, handle, list);
    window.setOverallProgress(100);
    closeMendora();
    backupFiles(list);
    // Only a file whose copy was kept can be restored: an entry without one
    // would make every later restore fail.
    MachineKey backup(win::kBackupKey);
    for (const LumoFile& file : list)
        if (file.backedUp) backup.writeString(file.build, file.name);
    const bool ok = installFiles(window, list);
    // The Update key names the build that is installed, so a file whose copy
    // failed is offered again by the next check.
    MachineKey update(win::kUpdateKey);
    bool anyDownloaded = false;
    for (const LumoFile& file : list) {
        if (file.installed) update.writeString(file.newBuild, file.name);
        anyDownloaded = anyDownloaded || (file.needsUpdate && file.downloaded);
    }
    // An install that changed no file leaves the offer of a restore as it was.
    if (anyDownloaded) setRestoreAvailable(ok ? 1 : 0);
    if (window.ask("Mendora Update Complete\nDo you want to restart Mendora?", "Updater",
                   MB_YESNO) == IDYES)
        launchMendora();
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
