// One TCP connection to a chat server, as the network layer's callers hold it.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "packet_format.h"

namespace lumonet {

struct NetConnection {
    static constexpr uintptr_t noSocket = ~uintptr_t(0);  // -1, INVALID_SOCKET

    std::string peerAddress = "127.0.0.1";
    uintptr_t socket = noSocket;
    bool encryption = true;  // goes into our hello record
    Bytes key;               // empty until the handshake succeeded
    // Serialises whole-packet writes; shared by every copy of the record.
    std::shared_ptr<std::mutex> writeLock;

    bool connected() const { return socket != noSocket; }
    // Two records are the same connection when their sockets are.
    bool operator==(const NetConnection& other) const { return socket == other.socket; }
};

}  // namespace lumonet
