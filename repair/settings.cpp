#include "repair/settings.h"

#include <windows.h>

#include <new>

#include "common/app_path.h"
#include "common/internal_check.h"
#include "common/message_box.h"
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

}  // namespace

Settings::Settings() : productsLink_(kProductsLink) {
    const std::string folder = installFolder();
    if (!makeFolder(folder + "bak\\"))
        endForMissingFolder("Cant create backup folder", "Permission Denied");
    createBackupFolders(folder, kBackupSlots);
    indexPath_ = folder + "bak\\index.vsi";
    index_.maxEntries = kBackupSlots;
    index_.read(indexPath_);
}

Settings::~Settings() {
    index_.write(indexPath_);
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
    BackupIndex::BackupEntry entry;
    entry.time = static_cast<int32_t>(time);
    entry.summary = summary;
    entry.folder = nextBackupFolder();
    index_.add(entry);
    index_.write(indexPath_);
}

void Settings::removeNewestBackup() {
    index_.removeNewest();
    index_.write(indexPath_);
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
