// The client side of the chat network layer: the record of one connection,
// and the client that connects with the hello exchange, sends and receives
// packets, closes, and queues what went wrong.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "chat/lumo_packet.h"
#include "chat/net_error.h"
#include "chat/packet_io.h"

namespace lumonet {

// One TCP connection to a chat server, as the callers hold it. A record is a
// value: each thread works on a copy of its own, and a connection closed
// through one copy is refused through the others.
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

// The key every connection uses once its handshake has succeeded.
extern const char connectionKey[];

class NetClient {
public:
    NetClient() = default;
    // Closes every connection still open.
    ~NetClient();
    NetClient(const NetClient&) = delete;
    NetClient& operator=(const NetClient&) = delete;

    // Opens the TCP connection, exchanges hello records and installs the key.
    // False with an error queued when any step fails.
    bool connect(const std::string& host, uint16_t port, NetConnection& connection);
    // Lists a connection opened elsewhere (chat/connection_opener.h), so
    // that it is sent on, read from and closed like one of its own.
    void adopt(const NetConnection& connection);

    // One packet; the bytes written, or -1. Whole packets from different
    // threads never interleave on one connection.
    int sendPacket(const uint8_t* payload, size_t length, NetConnection& connection);
    int sendPacket(const std::string& text, NetConnection& connection);

    // The next packet; an empty packet means failure.
    Packet receivePacket(NetConnection& connection);
    // The same, saying what became of the read.
    ReceiveStatus receivePacket(NetConnection& connection, Packet& packet);

    // Removes the connection from the list and closes its socket. False, with
    // an error queued, when closing the socket failed.
    bool close(NetConnection& connection);

    // The oldest queued error as text, taken off the queue.
    std::string errorText() { return errors.takeText(); }
    NetErrorQueue& errorQueue() { return errors; }
    void clearErrors() { errors.clear(); }
    size_t openConnectionCount() const;

    // Bounds on the waits a peer could otherwise stretch without end.
    void setHandshakeWait(int ms) { handshakeWaitMs = ms; }
    void setReadLimits(const ReadLimits& limits) { readLimits = limits; }
    // How long one socket write may wait for the peer to take bytes; applies
    // to connections opened afterwards.
    void setWriteLimit(int ms) { writeLimitMs = ms; }

private:
    bool isOpen(uintptr_t socket) const;
    // Removes the socket's entries; false when it had none.
    bool takeOut(uintptr_t socket);

    mutable std::mutex listLock;
    std::vector<NetConnection> connections;
    NetErrorQueue errors;
    int handshakeWaitMs = 30000;
    int writeLimitMs = 60000;
    ReadLimits readLimits;
};

}  // namespace lumonet
