// Where the update server's download page is: a fixed address, unless the
// installation (or a test) names another in the registry.
#pragma once

#include <string>

namespace updater {

extern const char kDefaultUpdateServer[];

// HKEY_LOCAL_MACHINE "SOFTWARE\Brisklane Technologies\Mendora\" value
// "updateServer", when it holds a non-empty text; else the default.
std::string updateServerAddress();

}  // namespace updater
