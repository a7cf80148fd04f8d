#include "recent_documents.h"

namespace sysrepair {

RecentDocuments* RecentDocuments::instance() {
    static RecentDocuments* const task = new RecentDocuments();
    return task;
}

bool RecentDocuments::scan() {
    setRunning(true);
    clearEntries();
    setRunning(false);
    return true;
}

}  // namespace sysrepair
