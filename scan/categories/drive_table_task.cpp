#include "scan/categories/drive_table_task.h"

#include "scan/walk/drive_table.h"

namespace sysrepair {

// Status and cancel come from other threads while the scan may be making
// the table: they look at the table only once it exists.
std::string DriveTableTask::statusText() {
    DriveTable* table = DriveTable::existing();
    return table && table->isBuilding() ? table->currentPath() : BasicTask::statusText();
}

void DriveTableTask::cancel() {
    BasicTask::cancel();
    if (DriveTable* table = DriveTable::existing()) table->cancel();
}

DriveTable* DriveTableTask::completeDriveTable() {
    DriveTable* table = DriveTable::instance();
    if (!table->isComplete()) table->build();
    return table;
}

}  // namespace sysrepair
