#include "updater/update_check.h"

#include <windows.h>

#include "common/suite_records.h"
#include "common/suite_registry.h"
#include "updater/update_server_address.h"

namespace updater {

void loadBuildList(UpdateView& window, const char* key, const char* skippedName,
                   std::vector<LumoFile>& list) {
    win::SuiteRecordKey reg(key);
    reg.openValues();
    window.setStatus("Checking for updates");
    bool more = false;
    for (std::string name = reg.nextValueName(more); more; name = reg.nextValueName(more)) {
        if (skippedName && name == skippedName) continue;
        bool read = false;
        const std::string build = reg.readString(name, read);
        if (!read) continue;
        LumoFile file;
        file.name = name;
        file.build = build;
        list.push_back(file);
    }
}

void loadUpdateList(UpdateView& window, std::vector<LumoFile>& list) {
    loadBuildList(window, win::kUpdateKey, nullptr, list);
}

bool prepareQuery(UpdateView& window, UpdaterHandle* handle, const std::string& app,
                  const std::string& file, const std::string& build) {
    if (app.empty() || file.empty() || build.empty()) return false;
    if (initializeUpdater(handle, updateServerAddress(), app, kUpdaterVersion, file, build) == 0)
        return true;
    window.setStatus("Error.");
    window.disableCheckButton();
    return false;
}

bool CheckForUpdates(UpdateView& window, UpdaterHandle* handle, std::vector<LumoFile>& list) {
    const size_t n = list.size();
    window.trace("-CheckForUpdates() - Enter");
    window.trace(std::to_string(n));
    bool found = false;
    for (size_t i = 0; i < n; ++i) {
        const int percent = static_cast<int>(static_cast<double>(i) / n * 100);
        window.setItemProgress(percent);
        window.setOverallProgress(percent);
        window.trace("initializing Updater");
        // The file's encoded name is sent as the product and as the file.
        if (!prepareQuery(window, handle, list[i].name, list[i].name, list[i].build)) continue;
        window.trace("Checking for updates");
        const int result = queryUpdate(handle, window);
        window.trace("Done checking for updates");
        if (result > 0) {
            list[i].needsUpdate = true;
            found = true;
        }
    }
    window.setItemProgress(100);
    window.setOverallProgress(100);
    window.trace("-CheckForUpdates() - Exit");
    return found;
}

}  // namespace updater
