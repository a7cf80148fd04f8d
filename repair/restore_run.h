// "Restore Last Changes": the newest repair undone from its backup slot.
#pragma once

#include <string>
#include <vector>

#include "scan/task_entry.h"

namespace sysrepair {

// The reports of the newest backup, read back from its slot: one entry list
// and one category name per report file. Empty when there is no backup.
struct NewestBackup {
    std::vector<std::vector<TaskEntry>> reportLists;
    std::vector<std::string> categoryNames;
};
NewestBackup readNewestBackup();

// Undoes every entry of the reports through the task manager, then deletes
// the slot's reports and file copies and forgets the newest backup.
void restoreNewestBackup(const NewestBackup& backup);

}  // namespace sysrepair
