// Where the update server's download page is: a fixed address, unless the
// installation (or a test) names another in the suite's key.
#pragma once

#include <string>

namespace updater {

// The value "updateServer", else the maker's update server.
std::string updateServerAddress();

}  // namespace updater
