// Opening one chat connection: the name lookup, the TCP connect, the hello
// exchange and the keep-alive. It uses nothing but its arguments, so it may
// run on a thread of its own that nobody waits for, and a caller on another
// thread can call it off between its steps.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "chat/net_connection.h"
#include "chat/net_error.h"

namespace lumonet {

struct OpenLimits {
    // The TCP connect, and then the server's hello record.
    int connectWaitMs = 30000;
    int handshakeWaitMs = 30000;
    // How long one socket write may wait for the peer to take bytes.
    int writeLimitMs = 60000;
};

// A link that died without a word (a cable pulled, a router restarted) is
// noticed by keep-alive probes: the first after this much silence, then one
// at this interval. Windows sends ten probes, Linux nine, so a dead link ends
// the session after about one and a half minutes.
constexpr unsigned long keepAliveIdleMs = 30000;
constexpr unsigned long keepAliveIntervalMs = 5000;

// Fills `connection` (socket, peer address, key, write lock) and returns true
// once the handshake succeeded; otherwise `error` says what failed and no
// socket stays open. `cancelled` is looked at every 200 ms while the connect
// or the handshake waits; the name lookup cannot be called off.
bool openConnection(const std::string& host, uint16_t port, const OpenLimits& limits,
                    const std::atomic<bool>& cancelled, NetConnection& connection, NetError& error);

// Turns on keep-alive probes with the intervals above (the system's own
// intervals where they cannot be set). False when keep-alive is off.
bool enableKeepAlive(uintptr_t socket);

}  // namespace lumonet
