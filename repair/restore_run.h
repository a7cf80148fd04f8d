// "Restore Last Changes": the newest repair undone from its backup slot. What
// cannot be put back stays in the backup, with its copy, for a later try.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "repair/backup_reports.h"
#include "scan/entry_restore.h"
#include "scan/task_entry.h"

namespace sysrepair {

// The newest backup as read back from its slot: one report per category.
// Empty when there is no backup.
struct NewestBackup {
    std::string slot;
    std::vector<SlotReport> reports;

    bool empty() const { return reports.empty(); }
};
NewestBackup readNewestBackup();

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
// reports and copies and the newest index entry are removed. Otherwise the
// index entry stays; each report keeps only the entries that did not come
// back (a report without any is deleted), and a damaged report is kept as it
// is, with all its copies.
RestoreResult restoreNewestBackup(const NewestBackup& backup);

// What the user is told afterwards.
struct RestoreMessage {
    std::string text;
    std::string caption;
    bool warning = false;
};
RestoreMessage restoreMessage(const RestoreResult& result);

// Why an entry did not come back, as the user reads it.
std::string restoreFailureReason(RestoreOutcome outcome);

}  // namespace sysrepair
