// Base of the categories that consult the drive file table: while the table
// is being built their status is the path it reached, and cancelling them
// stops the build too.
#pragma once

#include "scan/task.h"

namespace sysrepair {

class DriveTable;

class DriveTableTask : public BasicTask {
public:
    std::string statusText() override;
    void cancel() override;

protected:
    // The run's table of every path on the fixed drives; built now, on the
    // calling thread, unless a complete one exists.
    DriveTable* completeDriveTable();
};

}  // namespace sysrepair
