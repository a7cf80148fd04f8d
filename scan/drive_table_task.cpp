#include "drive_table_task.h"

#include "drive_table.h"

namespace sysrepair {

std::string DriveTableTask::statusText() {
    DriveTable* table = DriveTable::instance();
    return table->isBuilding() ? table->currentPath() : BasicTask::statusText();
}

void DriveTableTask::cancel() {
    BasicTask::cancel();
    DriveTable::instance()->cancel();
}

DriveTable* DriveTableTask::completeDriveTable() {
    DriveTable* table = DriveTable::instance();
    if (!table->isComplete()) table->build();
    return table;
}

}  // namespace sysrepair
