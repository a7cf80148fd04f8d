// The client details file on disk, below the suite folder that the App Paths
// entry "Vimstack.exe" names.
#pragma once

#include <string>

#include "chat/client/client_details.h"

namespace chatclient {

// Suite folder + "settings\clientInfo.dat".
std::string clientDetailsPath();

// Fills the texts from the file. False, with `details` as it was, when the
// file is missing, unreadable, short or damaged.
bool loadClientDetailsFile(ClientDetails& details);

// Makes the "settings" folder when needed and replaces the file so that a
// crash at any moment leaves the old file or the whole new one. False when
// the file could not be written.
bool saveClientDetailsFile(const ClientDetails& details);

}  // namespace chatclient
