#include "chat/host_address.h"

#include <winsock2.h>

#include <cstring>

namespace lumonet {

bool isDottedAddress(const std::string& host) {
    int dots = 0;
    char previous = '\0';
    for (char c : host) {
        if (c == '.') {
            if (previous == '.') return false;
            ++dots;
        } else if (c < '0' || c > '9') {
            return false;
        }
        previous = c;
    }
    return dots == 3;
}

std::string resolveHost(const std::string& host) {
    if (isDottedAddress(host)) return host;
    const hostent* entry = gethostbyname(host.c_str());
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_length != 4 ||
        entry->h_addr_list == nullptr || entry->h_addr_list[0] == nullptr)
        return "NULL";
    in_addr address;
    std::memcpy(&address, entry->h_addr_list[0], sizeof address);
    const char* dotted = inet_ntoa(address);
    return dotted != nullptr ? std::string(dotted) : std::string("NULL");
}

}  // namespace lumonet
