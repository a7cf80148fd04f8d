#include "chat/socket_channel.h"

#include <algorithm>

namespace lumonet {

namespace {

// One read never asks for more than this, so the int length cannot overflow.
constexpr size_t maxChunk = 1 << 20;
// Writes go to the stack in pieces of at most this size, so a large packet
// takes several writes: callers must keep other writers off the socket until
// a whole packet is out.
constexpr size_t maxWrite = 16 * 1024;

}  // namespace

bool SocketChannel::writeAll(const uint8_t* data, size_t length) {
    size_t done = 0;
    while (done < length) {
        const int chunk = static_cast<int>(std::min(length - done, maxWrite));
        const int written = send(sock, reinterpret_cast<const char*>(data + done), chunk, 0);
        if (written == SOCKET_ERROR || written <= 0) return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

bool SocketChannel::waitReadable(int idleLimitMs) {
    if (idleLimitMs < 0) return true;  // the read itself blocks
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(sock, &readable);
    timeval limit;
    limit.tv_sec = idleLimitMs / 1000;
    limit.tv_usec = (idleLimitMs % 1000) * 1000;
    return select(0, &readable, nullptr, nullptr, &limit) == 1;
}

size_t SocketChannel::readExact(uint8_t* data, size_t length, int idleLimitMs) {
    size_t done = 0;
    while (done < length) {
        if (!waitReadable(idleLimitMs)) break;
        const int chunk = static_cast<int>(std::min(length - done, maxChunk));
        const int got = recv(sock, reinterpret_cast<char*>(data + done), chunk, 0);
        if (got == SOCKET_ERROR || got <= 0) break;  // error, or the peer closed
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace lumonet
