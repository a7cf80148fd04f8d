// Where the support server and the support web page are: fixed addresses,
// unless the installation (or a test) names others in the registry.
#pragma once

#include <string>

namespace chatsession {

// The host when the registry names none.
extern const char kDefaultSupportServer[];

// HKEY_LOCAL_MACHINE "SOFTWARE\Brisklane Technologies\Mendora\" value
// "supportServer", when it holds a non-empty text; else the default.
std::string supportServerHost();

// The maker's support web page, which the chat window's "Visit Support"
// opens.
extern const char kDefaultSupportPage[];
// The value "supportPage" of the same key, when it holds a non-empty text;
// else the default.
std::string supportPageAddress();

}  // namespace chatsession
