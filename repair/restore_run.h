// The restore of a backup: the repair that made it undone from its backup
// slot, the newest or any older one. What cannot be put back stays in the
// backup, with its copy, for a later try.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "repair/backup_reports.h"
#include "scan/entry_restore.h"
#include "scan/task_entry.h"

namespace sysrepair {

// A backup as read back from its slot: one report per category. Empty when
// there is no backup.
struct SlotBackup {
    std::string slot;
    std::vector<SlotReport> reports;

    bool empty() const { return reports.empty(); }
    // The entries its reports hold.
    size_t entryCount() const;
};
SlotBackup readBackup(const std::string& slot);
SlotBackup readNewestBackup();

// The entries a slot's reports announce, read from their headers alone.
uint32_t countBackupEntries(const std::string& slot);

struct NotRestored {
    std::string what;  // the file, folder, key or value
    RestoreOutcome why;
};

struct RestoreResult {
    uint32_t restored = 0;                 // entries that are back
    std::vector<NotRestored> notRestored;  // entries kept in the backup
    uint32_t unreadable = 0;               // records of damaged reports
    uint32_t damagedReports = 0;

    // Everything came back: the backup is gone.
    bool complete() const { return notRestored.empty() && damagedReports == 0; }
};

// Undoes every entry of the reports. When everything came back, the slot's
// reports and copies and its index entry are removed; the other backups stay
// as they are. Otherwise the
// index entry stays; each report keeps only the entries that did not come
// back (a report without any is deleted), and a damaged report is kept as it
// is, with all its copies.
RestoreResult restoreBackup(const SlotBackup& backup);

// What the user is told afterwards.
struct RestoreMessage {
    std::string text;
    std::string caption;
    bool warning = false;
};
// `repair` names the repair the backup undid: "the last repair", "the repair
// of 12/09/26 at 02:03 PM".
RestoreMessage restoreMessage(const RestoreResult& result,
                              const std::string& repair = "the last repair");

// The full path of a file or folder, or the registry name of a key or value.
std::string entryLocation(const TaskEntry& entry);

// Why an entry did not come back, as the user reads it.
std::string restoreFailureReason(RestoreOutcome outcome);

}  // namespace sysrepair
