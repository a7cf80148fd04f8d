// The updater window's check: the list of updatable files from the registry,
// the check query for each, and the fetch of one file's newer build.
#pragma once

#include <string>
#include <vector>

#include "updater/update_view.h"
#include "updater/updater.h"

namespace updater {

// One updatable file.
struct LumoFile {
    std::string name;      // the registry value name: the file's encoded name
    std::string build;     // the installed copy's build
    std::string newBuild;  // the server's build, once fetched
    bool needsUpdate = false;
    bool downloaded = false;  // its newer build arrived whole in "updates"
    bool backedUp = false;    // the installed copy was kept in "backup"
    bool installed = false;   // the newer build replaced the installed copy
};

// Appends every readable text value of the Update key to the list.
void loadUpdateList(UpdateView& window, std::vector<LumoFile>& list);
// Every text value of an HKLM key as a file name and its build; skippedName
// (may be null) names a value that is not a file.
void loadBuildList(UpdateView& window, const char* key, const char* skippedName,
                   std::vector<LumoFile>& list);

// Sets up the queries of one file against the update server. False, with
// nothing done, when a text is empty; false with "Error." in the status and
// the check button disabled when the updater refuses them.
bool prepareQuery(UpdateView& window, UpdaterHandle* handle, const std::string& app,
                  const std::string& file, const std::string& build);

// Asks for the prepared file's download details and downloads it into the
// install folder's "updates" folder. A local name that is not a plain file
// name (a folder separator, a drive, a colon, "..") is refused as a failed
// download, so that no answer writes outside that folder.
bool fetchUpdateFile(UpdateView& window, UpdaterHandle* handle, std::string& newBuild);

// Asks the server about every file of the list and flags those with an
// update; true when any was flagged.
bool CheckForUpdates(UpdateView& window, UpdaterHandle* handle, std::vector<LumoFile>& list);

// Whether a local name from the server names a file directly inside one
// folder.
bool isPlainFileName(const std::string& name);

}  // namespace updater
