// The process-wide table of every path on the computer's fixed drives, built
// once per scan run by the first category that needs it and shared by the
// others.
#pragma once

#include "scan/walk/file_table.h"

namespace sysrepair {

class DriveTable : public FileTable {
public:
    // The one table, made on first call with the fixed drives as roots, in the
    // order the system lists them. Not built yet: callers build() it when
    // isComplete() is false.
    static DriveTable* instance();
    // The table if one is made, else none; makes nothing, shows nothing.
    static DriveTable* existing();
    // Deletes the table; the next instance() makes a fresh one. Called when a
    // scan run starts and at shutdown, while no scan thread uses it.
    static void destroy();

private:
    DriveTable();
};

}  // namespace sysrepair
