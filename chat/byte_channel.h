// The one thing the packet reader and writer need of a connection: whole
// writes and exact reads. Sockets implement it; tests feed it from memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumonet {

// How long a read may wait for the next bytes, in milliseconds.
constexpr int waitForever = -1;

class ByteChannel {
public:
    virtual ~ByteChannel() = default;

    // Writes every byte, with as many writes as it takes, each continuing
    // where the last one stopped. False when a write fails.
    virtual bool writeAll(const uint8_t* data, size_t length) = 0;

    // Reads until `length` bytes have arrived and returns how many did: fewer
    // when a read fails, the peer closes the connection or no byte arrives
    // within `idleLimitMs` (waitForever: no limit).
    virtual size_t readExact(uint8_t* data, size_t length, int idleLimitMs) = 0;
};

}  // namespace lumonet
