#include "scan/categories/clean_net_temp.h"

#include <shlobj.h>
#include <windows.h>

#include "common/message_box.h"

namespace sysrepair {

CleanNetTemp* CleanNetTemp::instance() {
    static CleanNetTemp* const task = new CleanNetTemp();
    return task;
}

bool CleanNetTemp::scan() {
    setMarker(false);
    char cache[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, cache, CSIDL_INTERNET_CACHE, TRUE)) {
        win::showMessageOnUiThread("Error Retrieving Internet Cache Folder", "Error", MB_OK);
        return false;
    }
    setRunning(true);
    clearEntries();
    walkFolder(cache);
    setRunning(false);
    return true;
}

}  // namespace sysrepair
