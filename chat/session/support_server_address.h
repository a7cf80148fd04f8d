// Where the support server is: a fixed host name, unless the installation
// (or a test) names another in the registry.
#pragma once

#include <string>

namespace chatsession {

// The host when the registry names none.
extern const char kDefaultSupportServer[];

// HKEY_LOCAL_MACHINE "SOFTWARE\Brisklane Technologies\Mendora\" value
// "supportServer", when it holds a non-empty text; else the default.
std::string supportServerHost();

}  // namespace chatsession
