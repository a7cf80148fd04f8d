// Owner of one Winsock socket, in the family of common/win_handles.h.
#pragma once

#include <winsock2.h>

#include "common/win_handles.h"

namespace lumonet {

struct SocketTraits {
    using Handle = SOCKET;
    static Handle invalid() { return INVALID_SOCKET; }
    static bool valid(Handle h) { return h != INVALID_SOCKET; }
    static void close(Handle h) { closesocket(h); }
};

using Socket = win::UniqueHandle<SocketTraits>;

}  // namespace lumonet
