// Where the support server and the support web page are: fixed addresses,
// unless the installation (or a test) names others in the suite's key.
#pragma once

#include <string>

namespace chatsession {

// The value "supportServer", else support.brisklane.com.
std::string supportServerHost();

// The maker's support web page, which the chat window's "Visit Support"
// opens: the value "supportPage", else the maker's page.
std::string supportPageAddress();

}  // namespace chatsession
