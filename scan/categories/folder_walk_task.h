// Base of the categories that list the files of one folder tree that were
// not used today.
#pragma once

#include <string>

#include "scan/task.h"

namespace sysrepair {

class FolderWalkTask : public BasicTask {
protected:
    // Walks the folder and its sub-folders until a stop is requested; every
    // file not used today becomes an EntryFile entry. The status text follows
    // the walk.
    void walkFolder(const std::string& folder);
};

}  // namespace sysrepair
