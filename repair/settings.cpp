#include "repair/settings.h"

#include <windows.h>

#include <new>
#include <string>
#include <vector>

#include "common/app_path.h"
#include "common/file_time.h"
#include "common/internal_check.h"
#include "common/message_box.h"
#include "repair/backup_names.h"
#include "repair/backup_reports.h"
#include "repair/file_ops.h"

namespace sysrepair {

namespace {

Settings* instance = nullptr;

const char kProductsLink[] = "http://www.brisklane.com/products.html";

// The backup tree is the user's only way back from a repair: without it the
// program must not run at all.
[[noreturn]] void endForMissingFolder(const std::string& text, const std::string& caption) {
    win::showMessageBox(nullptr, text, caption, MB_OK);
    ExitProcess(static_cast<UINT>(-1));
}

bool makeFolder(const std::string& path) {
    return folderExists(path) || CreateDirectoryA(path.c_str(), nullptr) || folderExists(path);
}

bool makeSlotFolder(const std::string& slot) {
    return makeFolder(slot) && makeFolder(slot + "\\files");
}

// Where a slot's backup waits while a repair may still give it back. Its
// reports name copies in the slot's own folder, so it only ever goes back
// under the slot's name.
std::string asideFolder(const std::string& slot) {
    return slot + ".old";
}

// Removes a slot folder with its reports and copies; false when something
// else in it keeps it.
bool removeSlotFolder(const std::string& slot) {
    if (!folderExists(slot)) return true;
    clearSlot(slot);
    RemoveDirectoryA((slot + "\\files").c_str());
    return RemoveDirectoryA(slot.c_str()) || !folderExists(slot);
}

bool holdsReports(const std::string& slot) {
    std::vector<std::string> names;
    if (!listFileNames(slot, names)) return false;
    for (const std::string& name : names)
        if (hasExtensionFromFirstDot(name, kReportExtension)) return true;
    return false;
}

}  // namespace

Settings::Settings() : productsLink_(kProductsLink) {
    const std::string folder = installFolder();
    if (!makeFolder(folder + "bak\\"))
        endForMissingFolder("Cant create backup folder", "Permission Denied");
    createBackupFolders(folder, kBackupSlots);
    indexPath_ = folder + "bak\\index.vsi";
    index_.maxEntries = kBackupSlots;
    index_.read(indexPath_);
    adoptUnrecordedSlots(folder, kBackupSlots);
}

Settings::~Settings() {
    saveIndex();
}

const char Settings::kUnfinishedRepair[] = "Unfinished repair";

bool Settings::saveIndex() {
    if (index_.write(indexPath_)) return true;
    win::showMessageBox(win::mainWindowHandle(),
                        "The list of backups could not be saved to " + indexPath_ +
                            ".\n\nThe backups themselves are on the disk; Mendora finds them "
                            "again at its next start.",
                        "Mendora Error", MB_OK | MB_ICONWARNING);
    return false;
}

void Settings::adoptUnrecordedSlots(const std::string& folder, unsigned count) {
    DeleteFileA((indexPath_ + ".new").c_str());
    bool adopted = false;
    for (unsigned n = 0; n < count; ++n) {
        const std::string slot = folder + "bak\\" + std::to_string(n);
        // A backup set aside by a repair that stopped: given up when the
        // repair had backed something up, else put back.
        const std::string aside = asideFolder(slot);
        if (folderExists(aside)) {
            if (holdsReports(slot))
                removeSlotFolder(aside);
            else if (removeSlotFolder(slot))
                MoveFileA(aside.c_str(), slot.c_str());
            makeSlotFolder(slot);
        }
        std::vector<std::string> names;
        if (!listFileNames(slot, names)) continue;
        FILETIME newest = {};
        bool holdsReports = false;
        for (const std::string& name : names) {
            const std::string path = slot + "\\" + name;
            // A report that was being written when the program stopped: the
            // report it would have replaced (if any) is whole beside it.
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".new") == 0) {
                DeleteFileA(path.c_str());
                continue;
            }
            if (!hasExtensionFromFirstDot(name, kReportExtension)) continue;
            holdsReports = true;
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
                CompareFileTime(&data.ftLastWriteTime, &newest) > 0)
                newest = data.ftLastWriteTime;
        }
        if (!holdsReports || index_.has(slot)) continue;
        // Never cleared: a repair that stopped halfway may have removed what
        // only these reports hold.
        BackupIndex::BackupEntry entry;
        const uint64_t ticks = win::fileTimeValue(newest);
        const uint64_t unixStart = 116444736000000000ull;  // 1970-01-01 as a FILETIME
        entry.time = ticks > unixStart ? static_cast<int32_t>((ticks - unixStart) / 10000000) : 0;
        entry.folder = slot;
        entry.summary = kUnfinishedRepair;
        index_.insertByTime(entry);
        adopted = true;
    }
    if (adopted) saveIndex();
}

void Settings::createBackupFolders(const std::string& folder, unsigned count) {
    for (unsigned n = 0; n < count; ++n) {
        std::string path = folder + "bak\\" + std::to_string(n);
        if (!makeFolder(path))
            endForMissingFolder("Error Creating folder " + path + ". Exit...",
                                "Settings::createBackupFolders");
        path += "\\files";
        if (!makeFolder(path))
            endForMissingFolder("Error Creating folder " + path + ", Exit...",
                                "Settings::createBackupFolders");
    }
}

std::string Settings::installFolder() const {
    std::string folder = win::appPathFolder(win::mendoraEntryName());
    // Paths below it are formed by appending names directly.
    if (folder.back() != '\\') folder += '\\';
    return folder;
}

std::string Settings::nextBackupFolder() const {
    return index_.nextFolder(installFolder(), kBackupSlots);
}

std::string Settings::newestBackupFolder() const {
    return index_.size() ? index_.at(0).folder : std::string();
}

void Settings::addBackup(std::time_t time, const std::string& summary) {
    recordBackup(nextBackupFolder(), time, summary);
}

void Settings::removeNewestBackup() {
    index_.removeNewest();
    saveIndex();
}

std::string Settings::beginBackup() {
    const std::string slot = nextBackupFolder();
    hasAside_ = false;
    if (!index_.has(slot)) return slot;
    for (const BackupIndex::BackupEntry& e : index_.entries())
        if (e.folder == slot) aside_ = e;
    const std::string aside = asideFolder(slot);
    if (!folderExists(aside) && MoveFileA(slot.c_str(), aside.c_str())) {
        hasAside_ = makeSlotFolder(slot);
        // Without a fresh slot the backup goes back; the repair then gives
        // it up, as it would without a place to set it aside.
        if (!hasAside_ && removeSlotFolder(slot)) MoveFileA(aside.c_str(), slot.c_str());
    }
    index_.remove(slot);
    saveIndex();
    return slot;
}

void Settings::endBackup(const std::string& slot, bool backedUp) {
    if (!hasAside_) return;
    hasAside_ = false;
    const std::string aside = asideFolder(slot);
    if (backedUp) {
        removeSlotFolder(aside);
        return;
    }
    if (removeSlotFolder(slot) && MoveFileA(aside.c_str(), slot.c_str())) {
        index_.insertByTime(aside_);
        saveIndex();
    }
    // Otherwise the next start finds it beside an empty slot and puts it back.
    makeSlotFolder(slot);
}

bool Settings::recordBackup(const std::string& slot, std::time_t time, const std::string& summary) {
    BackupIndex::BackupEntry entry;
    entry.time = static_cast<int32_t>(time);
    entry.summary = summary;
    entry.folder = slot;
    index_.remove(slot);
    index_.add(entry);
    return saveIndex();
}

bool Settings::setBackupSummary(const std::string& slot, const std::string& summary) {
    return index_.setSummary(slot, summary) && saveIndex();
}

bool Settings::forgetBackup(const std::string& slot) {
    if (!index_.has(slot)) return true;
    index_.remove(slot);
    return saveIndex();
}

Settings* getSettings() {
    if (!instance) {
        instance = new (std::nothrow) Settings();
        INTERNAL_CHECK(instance != nullptr, "settings != NULL", "settings", 62);
    }
    return instance;
}

void releaseSettings() {
    delete instance;
    instance = nullptr;
}

}  // namespace sysrepair
