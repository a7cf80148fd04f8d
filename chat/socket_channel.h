// A byte channel over a connected stream socket, which it does not own.
#pragma once

#include <winsock2.h>

#include "chat/byte_channel.h"

namespace lumonet {

class SocketChannel : public ByteChannel {
public:
    explicit SocketChannel(SOCKET s) : sock(s) {}

    bool writeAll(const uint8_t* data, size_t length) override;
    size_t readExact(uint8_t* data, size_t length, int idleLimitMs) override;

private:
    // True when the socket has bytes (or an end) to read within the limit.
    bool waitReadable(int idleLimitMs);

    SOCKET sock;
};

}  // namespace lumonet
