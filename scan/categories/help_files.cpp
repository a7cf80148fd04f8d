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
                [](const std::string& file, const std::string& folder) -> std::string {
                    const bool slash = !folder.empty() && folder.back() == '\\';
                    const std::string path = folder + (slash ? "" : "\\") + file;
                    if (fileExistsOnPath(path)) return std::string();
                    return "the help file " + path + " does not exist";
                });
    setRunning(false);
    return true;
}

}  // namespace sysrepair
