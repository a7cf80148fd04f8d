// The client details file on disk. It lives where the user may write
// without an administrator's rights: the file "clientInfo.dat" in the folder
// "Brisklane Technologies\Parleclient" of the user's application-data folder. Earlier versions
// kept it as "settings\clientInfo.dat" below the suite folder (which the
// App Paths entry "Vimstack.exe" names); that file is still read while the
// user has none of the new kind, so the details survive the move.
#pragma once

#include <string>

#include "chat/client/client_details.h"

namespace chatclient {

// The file in the user's application-data folder; the suite folder's file
// when that folder cannot be found.
std::string clientDetailsPath();

// Suite folder + "settings\clientInfo.dat", where earlier versions kept it.
std::string suiteFolderClientDetailsPath();

// Fills the texts from the user's file or, when the user has none, from the
// suite folder's file. False, with `details` as it was, when the file read is
// missing, unreadable, short or damaged.
bool loadClientDetailsFile(ClientDetails& details);

// Makes the folders when needed and replaces the user's file so that a crash
// at any moment leaves the old file or the whole new one. False when the file
// could not be written.
bool saveClientDetailsFile(const ClientDetails& details);

}  // namespace chatclient
