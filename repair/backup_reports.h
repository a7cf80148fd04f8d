// The backup reports of a backup slot: one report file per category, with
// copies of the category's files in the slot's "files" folder. The byte
// layout is in report_format.h. These are the task manager's report
// operations; they live with the backup files so that the scan engine never
// depends on them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "repair/engine/rptrnr.h"
#include "scan/task_entry.h"

namespace sysrepair {

class BackupCopies;

// One entry as the backup holds it, and what the repair engine must still
// find before it removes the entry's object (the RepairExpectation fields).
struct BackedUpEntry {
    bool saved = false;
    size_t report = 0;    // which of the category's reports holds it
    uint32_t record = 0;  // its record there
    std::string copy;     // a file's backup copy
    unsigned expectFlags = RepairExpectNothing;
    uint64_t fileSize = 0;
    uint64_t lastWrite = 0;
    uint64_t latestAccess = 0;  // its last access after the copy was made
    unsigned long valueType = 0;
    std::vector<unsigned char> valueData;
};

// One category's backup.
struct WrittenBackup {
    std::vector<std::string> reports;    // its report files, written whole
    std::vector<BackedUpEntry> entries;  // one per entry given
};

// Writes one category's backup reports into the slot (one report, or several
// for a category that one report cannot hold) and copies its files through
// `copies`. An entry is backed up only while it is still as its scan found
// it: a file of the same size and last write (and still unused, when it was
// found unused), a value of the same type and bytes, a key that exists, with
// names and texts that survive the ANSI code page. False when a report could
// not be made; then nothing of the category was backed up.
bool writeReports(const std::vector<TaskEntry*>& entries, const std::string& categoryName,
                  const std::string& slotFolder, BackupCopies& copies, WrittenBackup& written);

// After the repair engine ran: the category's reports keep only the entries
// whose objects the repair removed, and the copies of the others go, so that
// the backup holds exactly what the repair changed. A report left with no
// entry is deleted. False when a report could not be rewritten; it then
// keeps every entry (a restore finds the others in place).
bool keepOnlyRemoved(const WrittenBackup& written, const std::vector<bool>& removed);

// Today's start, 00:00 UTC, as a FILETIME value: a file last used before it
// was not used today.
uint64_t startOfTodayUtc();

// writeReports with copies of its own: for a backup of one category.
// `backedUp`, when given, tells per entry whether it was backed up: an entry
// whose file could not be copied, that changed since its scan or whose texts
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
