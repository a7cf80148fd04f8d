#include "chat/winsock_session.h"

#include <winsock2.h>

namespace lumonet {

WinsockSession::WinsockSession() {
    WSADATA data;
    ok = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

WinsockSession::~WinsockSession() {
    if (ok) WSACleanup();
}

}  // namespace lumonet
