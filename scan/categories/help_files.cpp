#include "scan/categories/help_files.h"

#include "scan/categories/path_text.h"

namespace sysrepair {

HelpFiles* HelpFiles::instance() {
    static HelpFiles* const task = new HelpFiles();
    return task;
}

bool HelpFiles::scan() {
    setRunning(true);
    clearEntries();
    // Each value is named after its help file and holds the file's folder.
    checkValues("SOFTWARE\\Microsoft\\Windows\\Help",
                [](const std::string& file, const std::string& folder) {
                    const bool slash = !folder.empty() && folder.back() == '\\';
                    return !fileExistsOnPath(folder + (slash ? "" : "\\") + file);
                });
    setRunning(false);
    return true;
}

}  // namespace sysrepair
