// The undo of one entry against the file system and the registry.
#pragma once

#include "scan/task_entry.h"

namespace sysrepair {

// How the undo of one entry went. The first three leave nothing to undo.
enum class RestoreOutcome {
    Restored,         // put back
    AlreadyInPlace,   // the folder exists, or the file is there with the backed-up bytes
    NothingToUndo,    // the file was never backed up, so no repair touched it
    NameTaken,        // another file or folder of that name is in the way
    ValueChanged,     // the value exists again with other contents: left as it is
    CopyMissing,      // the backup copy of the file is gone
    CopyFailed,       // the backup copy could not be copied back
    FolderNotMade,    // the folder could not be made
    RegistryRefused,  // the registry refused the write
};

// Whether the thing the entry names is back where it was.
inline bool isBack(RestoreOutcome outcome) {
    return outcome == RestoreOutcome::Restored || outcome == RestoreOutcome::AlreadyInPlace ||
           outcome == RestoreOutcome::NothingToUndo;
}

// What becomes of a file's backup copy once the file is back.
enum class BackupCopy {
    Delete,
    // The caller deletes it once its own records no longer name it, so that
    // an interruption never leaves a record without its copy.
    Keep,
};

// Puts back what the entry names: copies a backed-up file back (never over
// another file; a file already there with the copy's bytes counts as back),
// makes a folder or a key, or writes a value with exactly the backed-up
// type and bytes (never over a value written since; one there with those
// bytes counts as back). Stops the program when there is no entry.
RestoreOutcome restoreEntryOutcome(const TaskEntry* entry, BackupCopy copy = BackupCopy::Delete);

// The same, true only when something was put back now.
bool restoreTaskEntry(const TaskEntry* entry);

}  // namespace sysrepair
