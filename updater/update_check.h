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
    // Its newer build arrived whole in "updates", signed by the publisher:
    // localName is the file there, size and sha256 what the signature covers.
    bool downloaded = false;
    std::string localName;
    unsigned long long size = 0;
    std::string sha256;
    // Why a flagged file was not installed, for the user; empty while nothing
    // went wrong.
    std::string problem;
    bool installed = false;  // the newer build replaced the installed copy
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

// Asks the server about every file of the list and flags those with an
// update; true when any was flagged.
bool CheckForUpdates(UpdateView& window, UpdaterHandle* handle, std::vector<LumoFile>& list);

}  // namespace updater
