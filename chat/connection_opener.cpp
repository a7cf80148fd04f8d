#include "chat/connection_opener.h"

#include <winsock2.h>

#include <mstcpip.h>

#include <cstring>

#include "chat/hello_record.h"
#include "chat/host_address.h"
#include "chat/socket_channel.h"
#include "chat/socket_handle.h"

namespace lumonet {

namespace {

constexpr int kSliceMs = 200;

timeval sliceOf(int ms) {
    timeval t;
    t.tv_sec = ms / 1000;
    t.tv_usec = (ms % 1000) * 1000;
    return t;
}

bool setBlocking(SOCKET s, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(s, FIONBIO, &nonBlocking) == 0;
}

// The connect, in slices, so that a request to stop is heard.
bool connectWithin(SOCKET s, const sockaddr_in& peer, int waitMs,
                   const std::atomic<bool>& cancelled) {
    if (!setBlocking(s, false)) return false;
    if (::connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0 &&
        WSAGetLastError() != WSAEWOULDBLOCK)
        return false;
    for (int waited = 0; waited < waitMs && !cancelled; waited += kSliceMs) {
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(s, &writable);
        FD_SET(s, &failed);
        timeval slice = sliceOf(kSliceMs);
        const int ready = select(0, nullptr, &writable, &failed, &slice);
        if (ready == SOCKET_ERROR) return false;
        if (ready == 0) continue;
        int problem = 0;
        int size = sizeof problem;
        if (FD_ISSET(s, &failed) ||
            getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&problem), &size) != 0 ||
            problem != 0)
            return false;
        return setBlocking(s, true);
    }
    return false;
}

// Reads the server's hello record in slices; fewer bytes than a record when
// the peer closed, failed, took too long or the caller called it off.
size_t readHello(SOCKET s, uint8_t* reply, int waitMs, const std::atomic<bool>& cancelled) {
    size_t got = 0;
    for (int waited = 0; got < helloSize && waited < waitMs && !cancelled;) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(s, &readable);
        timeval slice = sliceOf(kSliceMs);
        const int ready = select(0, &readable, nullptr, nullptr, &slice);
        if (ready == SOCKET_ERROR) break;
        if (ready == 0) {
            waited += kSliceMs;
            continue;
        }
        const int n = recv(s, reinterpret_cast<char*>(reply + got), int(helloSize - got), 0);
        if (n <= 0) break;
        got += static_cast<size_t>(n);
    }
    return got;
}

}  // namespace

bool enableKeepAlive(uintptr_t socket) {
    const SOCKET s = static_cast<SOCKET>(socket);
    tcp_keepalive values;
    values.onoff = 1;
    values.keepalivetime = keepAliveIdleMs;
    values.keepaliveinterval = keepAliveIntervalMs;
    DWORD returned = 0;
    if (WSAIoctl(s, SIO_KEEPALIVE_VALS, &values, sizeof values, nullptr, 0, &returned, nullptr,
                 nullptr) == 0)
        return true;
    const BOOL on = TRUE;
    return setsockopt(s, SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on), sizeof on) ==
           0;
}

bool openConnection(const std::string& host, uint16_t port, const OpenLimits& limits,
                    const std::atomic<bool>& cancelled, NetConnection& connection,
                    NetError& error) {
    const std::string address = resolveHost(host);

    Socket sock(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!sock) {
        error = NetError{SocketCreateFailed, NetError::noDetail};
        return false;
    }
    sockaddr_in peer;
    std::memset(&peer, 0, sizeof peer);
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = inet_addr(address.c_str());
    if (peer.sin_addr.s_addr == INADDR_NONE ||
        !connectWithin(sock.get(), peer, limits.connectWaitMs, cancelled)) {
        error = NetError{ConnectFailed, address + ": connection failed"};
        return false;
    }

    // A peer that stops reading must not hold a sending thread for ever.
    const DWORD writeLimit = static_cast<DWORD>(limits.writeLimitMs);
    setsockopt(sock.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&writeLimit),
               sizeof writeLimit);
    enableKeepAlive(static_cast<uintptr_t>(sock.get()));

    HelloRecord ours;
    ours.encryption = connection.encryption ? 1 : 0;
    uint8_t hello[helloSize];
    encodeHello(ours, hello);
    SocketChannel channel(sock.get());
    // A failed or short exchange leaves zero bytes in the server's record,
    // which then differs from ours.
    uint8_t reply[helloSize] = {};
    const bool complete =
        channel.writeAll(hello, helloSize) &&
        readHello(sock.get(), reply, limits.handshakeWaitMs, cancelled) == helloSize;
    std::string difference = helloDifference(ours, decodeHello(reply));
    if (!complete && difference.empty()) difference = "invalid protocol id";
    if (!difference.empty()) {
        error = NetError{HandshakeFailed, difference};
        return false;
    }

    connection.peerAddress = address;
    connection.socket = static_cast<uintptr_t>(sock.detach());
    connection.key = Bytes(connectionKey, connectionKey + std::strlen(connectionKey));
    connection.writeLock = std::make_shared<std::mutex>();
    return true;
}

}  // namespace lumonet
