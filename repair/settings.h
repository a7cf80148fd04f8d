// Where Mendora lives on disk and where its repair backups go: the install
// folder, the 30 backup slots below install folder + "bak\", the list of
// backups and the few values the start-up code hands to the main window.
// Used from the user-interface thread only.
#pragma once

#include <ctime>
#include <deque>
#include <string>

#include "repair/backup_index.h"

namespace sysrepair {

class Settings {
public:
    static constexpr unsigned kBackupSlots = 30;

    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // Asked afresh from the App Paths entry (mendoraEntryName()) on every
    // call; always ends with a backslash (".\" when no folder is recorded).
    std::string installFolder() const;
    std::string productsLink() const { return productsLink_; }
    const std::string& indexPath() const { return indexPath_; }
    std::string sourceTag() const { return sourceTag_; }
    void setSourceTag(const std::string& tag) { sourceTag_ = tag; }

    // The slot the next repair writes into: the first unused one, or the
    // oldest backup's slot when all are in use.
    std::string nextBackupFolder() const;
    // The newest backup's slot; empty when there is none.
    std::string newestBackupFolder() const;
    // Records a repair made into nextBackupFolder() and saves the index.
    void addBackup(std::time_t time, const std::string& summary);
    // Forgets the newest backup and saves the index.
    void removeNewestBackup();

    // The slot a repair is about to back up into (nextBackupFolder()), empty.
    // A backup it still holds leaves the index and is set aside whole (its
    // folder renamed), so that a repair that backs nothing up gives it back.
    std::string beginBackup();
    // After the repair's backup was written: the backup set aside is given
    // up when the repair backed something up, else it is put back in the
    // slot and in the index.
    void endBackup(const std::string& slot, bool backedUp);
    // Records the backup of a slot before anything is changed, and saves
    // the index; the user is told when it cannot be saved (false).
    bool recordBackup(const std::string& slot, std::time_t time, const std::string& summary);
    // Gives a recorded backup its summary once the repair is done.
    bool setBackupSummary(const std::string& slot, const std::string& summary);
    // Forgets the backup of a slot (one that holds nothing any more).
    bool forgetBackup(const std::string& slot);

    // The summary of a backup whose repair did not end: recorded before a
    // repair changes anything, and given to a slot that holds reports but
    // is in no index (a repair that was stopped before it could record it).
    static const char kUnfinishedRepair[];
    // A copy of the backups, newest first.
    std::deque<BackupIndex::BackupEntry> backups() const { return index_.entries(); }

private:
    friend Settings* getSettings();
    friend void releaseSettings();

    // Creates the backup folders (ending the process when they cannot be
    // made) and reads the index.
    Settings();
    // Saves the index.
    ~Settings();

    void createBackupFolders(const std::string& folder, unsigned count);
    // Saves the index; a failure is told to the user.
    bool saveIndex();
    // Records every slot that holds reports but is in no index, and removes
    // what an interrupted write left beside the index and the reports.
    void adoptUnrecordedSlots(const std::string& folder, unsigned count);

    // The backup that beginBackup set aside, while `hasAside_`.
    BackupIndex::BackupEntry aside_;
    bool hasAside_ = false;

    BackupIndex index_;
    std::string productsLink_;
    std::string indexPath_;
    std::string sourceTag_;
};

// The one Settings, made on the first call.
Settings* getSettings();
// Destroys it at program end, which saves the index; a second call does
// nothing.
void releaseSettings();

}  // namespace sysrepair
