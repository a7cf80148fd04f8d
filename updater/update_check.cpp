#include "updater/update_check.h"

#include <windows.h>

#include "common/app_path.h"
#include "common/registry_reader_writer.h"
#include "common/suite_registry.h"
#include "common/win_handles.h"
#include "updater/sha256.h"
#include "updater/update_query.h"
#include "updater/update_server_address.h"

namespace updater {

void loadBuildList(UpdateView& window, const char* key, const char* skippedName,
                   std::vector<LumoFile>& list) {
    win::RegistryReaderWriter reg;
    reg.setRoot(HKEY_LOCAL_MACHINE);
    reg.setKey(key);
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

bool isPlainFileName(const std::string& name) {
    return !name.empty() && name.find_first_of("\\/:") == std::string::npos && name != "." &&
           name != "..";
}

namespace {

// Whether a downloaded file has the size and digest the answer names (any
// file, when it names none). A file that does not is deleted.
bool matchesAnswer(const std::string& path, const ListAnswer& fields) {
    if (!fields.checked) return true;
    bool matches = false;
    {
        win::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            Sha256 digest;
            unsigned long long size = 0;
            std::vector<char> chunk(64 * 1024);
            DWORD got = 0;
            bool read = true;
            while ((read = ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()),
                                    &got, nullptr) != 0) &&
                   got > 0) {
                digest.add(chunk.data(), got);
                size += got;
            }
            matches = read && size == fields.size && digest.hexDigest() == fields.sha256;
        }
    }
    if (!matches) DeleteFileA(path.c_str());
    return matches;
}

}  // namespace

bool fetchUpdateFile(UpdateView& window, UpdaterHandle* handle, std::string& newBuild) {
    const std::string answer = queryFileList(handle, window);
    if (answer.empty() || answer == "-1") {
        window.setStatus("Update not downloaded; no update found");
        return false;
    }
    const ListAnswer fields = parseListAnswer(answer);
    newBuild = fields.newBuild;
    if (!isPlainFileName(fields.localName)) {
        window.setStatus("Download Error");
        return false;
    }
    const std::string localPath =
        win::appPathFolder(win::mendoraEntryName()) + "updates\\" + fields.localName;
    if (downloadFile(handle, window, fields.downloadAddress, localPath,
                     fields.checked ? fields.size : 0) == 1 &&
        matchesAnswer(localPath, fields)) {
        window.setStatus("Download Complete: " + localPath);
        return true;
    }
    window.setStatus("Download Error");
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
