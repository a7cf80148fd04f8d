// The update server's queries through the download library: one set of query
// parameters at a time, held by this unit for the whole process.
#pragma once

#include <cstdint>
#include <string>

#include "updater/update_view.h"

namespace updater {

// What the window owns while it lives and hands to every query; the library
// is shut down when the window closes.
struct UpdaterHandle {
    // Set when the user closed the window during a transfer: every later
    // query and download through this handle returns at once with nothing.
    bool cancelled = false;
};

// The updater's own version, sent with every query.
constexpr char kUpdaterVersion[] = "1.0.0";

// Stores the five texts (also when it then fails) and prepares the download
// library: 0, or -1 when one of them is empty (the library is not touched).
int initializeUpdater(UpdaterHandle* handle, const std::string& baseAddress, const std::string& app,
                      const std::string& ver, const std::string& file, const std::string& build);

// The check query: 1 when the server reports an update (any answer that is
// not empty), 0 when not or when the transfer was refused or cancelled, -1
// before a successful initializeUpdater.
int queryUpdate(UpdaterHandle* handle, UpdateView& window);

// The list query's answer; empty when the transfer was refused or nothing
// came, "-1" before a successful initializeUpdater.
std::string queryFileList(UpdaterHandle* handle, UpdateView& window);

// Downloads the address into the file, with the progress in the window: 1
// when received, 0 when not or refused, -1 before a successful
// initializeUpdater. `announcedSize` is the size the server's answer named
// (0: none): a download that announces or delivers more is cut off, and
// leaves no file at `localPath`.
int downloadFile(UpdaterHandle* handle, UpdateView& window, const std::string& address,
                 const std::string& localPath, unsigned long long announcedSize);

// Ends the running transfer, and makes every later queryUpdate, queryFileList
// and downloadFile through the handle return at once with nothing received:
// for a window that the user closes during a transfer.
void cancelTransfers(UpdaterHandle* handle);
bool transfersCancelled(const UpdaterHandle* handle);

// Shuts the download library down; for the window's close.
void terminateDownloads();

}  // namespace updater
