// Where the user's list of things to keep for good lives: a file of the
// install folder, which an uninstall leaves behind, so that the list outlives
// reinstalls. A damaged list keeps nothing, and the scan says so.
#pragma once

#include <windows.h>

#include <string>

#include "scan/keep_list.h"

namespace sysrepair {

// The install folder's "kept-items.txt".
std::string keptItemsPath();

enum class KeptItemsRead {
    None,     // no list yet: nothing is kept
    Read,     // the list as the user left it
    Damaged,  // there, but unreadable or changed: nothing is kept
};
KeptItemsRead readKeptItems(KeepList& list);

// Replaces the stored list in one step. A damaged list is first kept aside
// as "kept-items.txt.damaged", so that nobody's list disappears unseen.
bool writeKeptItems(const KeepList& list);

// What a scan is told about a damaged list.
std::string damagedKeptItemsText();

// Reads the list for a scan run and hands it to the task manager; a damaged
// list is told through a message box owned by `owner` and keeps nothing.
// Returns what was read.
KeptItemsRead useKeptItemsForScan(HWND owner);

}  // namespace sysrepair
