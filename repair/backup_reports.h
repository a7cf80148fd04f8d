// The backup reports of a backup slot: one report file per category, with
// copies of the category's files in the slot's "files" folder. The byte
// layout is in report_format.h. These are the task manager's report
// operations; they live with the backup files so that the scan engine never
// depends on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scan/task_entry.h"

namespace sysrepair {

// Writes one category's backup report into the slot and copies its files
// into the slot's "files" folder (a thousand at most, the rest into its
// sub-folders "1", "2", ...). False when the report could not be made;
// then nothing was backed up. `backedUp`, when given, tells per entry
// whether it was: an entry whose file could not be copied or whose texts
// are too long to store was not, and must not be repaired.
bool writeReport(const std::vector<TaskEntry*>& entries, const std::string& categoryName,
                 const std::string& slotFolder, std::vector<bool>* backedUp = nullptr);
// Appends the report's entries to `entries`; false unless the file is a
// backup report. A damaged report gives the entries before the damage.
bool readReport(const std::string& path, std::vector<TaskEntry>& entries,
                std::string& categoryName);
// Reads every report of the slot, in listing order: one entry list and one
// category name per report. False when the slot cannot be listed.
bool loadReports(const std::string& slotFolder, std::vector<std::vector<TaskEntry>>& lists,
                 std::vector<std::string>& categoryNames);

// One report file of a slot as read back.
struct SlotReport {
    std::string path;
    std::string categoryName;
    std::vector<TaskEntry> entries;
    // Every record the report announced was read. A report that is not
    // complete is never rewritten or deleted: the copies of what it could
    // not give stay with it.
    bool complete = false;
    // Records it announced but could not give (damaged or cut short).
    uint32_t unread = 0;
};

// Every report of the slot, in listing order. False when the slot cannot be
// listed.
bool readSlotReports(const std::string& slotFolder, std::vector<SlotReport>& reports);

// Writes the report afresh, crash-safe, holding only the given entries as
// they were read back (no copies are made). False when it cannot be written;
// the old report then stays.
bool rewriteReport(const SlotReport& report, const std::vector<TaskEntry>& entries);

// Deletes the slot's reports and file copies, also those in the numbered
// sub-folders of "files" that a large repair makes (the emptied sub-folders
// go too); other files stay. False when the slot or its "files" folder cannot
// be listed.
bool clearSlot(const std::string& slotFolder);

}  // namespace sysrepair
