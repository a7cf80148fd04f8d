// Turning the host text the user's program was given into an IPv4 address.
#pragma once

#include <string>

namespace lumonet {

// A host text is taken as a dotted address as it stands when it holds only
// digits and dots, exactly three dots, and no dot right after another.
bool isDottedAddress(const std::string& host);

// The dotted address itself, or the first IPv4 address the name lookup
// gives in dotted form; "NULL" when the lookup fails (no connect can use it).
// Needs Winsock started.
std::string resolveHost(const std::string& host);

}  // namespace lumonet
