#include "chat/net_connection.h"

#include <winsock2.h>

#include <algorithm>
#include <atomic>

#include "chat/connection_opener.h"
#include "chat/socket_channel.h"

namespace lumonet {

const char connectionKey[] = "qorvantel";

NetClient::~NetClient() {
    std::lock_guard<std::mutex> guard(listLock);
    for (const NetConnection& c : connections) closesocket(static_cast<SOCKET>(c.socket));
}

bool NetClient::connect(const std::string& host, uint16_t port, NetConnection& connection) {
    static const std::atomic<bool> neverCancelled{false};
    OpenLimits limits;
    limits.handshakeWaitMs = handshakeWaitMs;
    limits.writeLimitMs = writeLimitMs;
    NetError error;
    if (!openConnection(host, port, limits, neverCancelled, connection, error)) {
        errors.push(error.code, error.detail);
        return false;
    }
    adopt(connection);
    return true;
}

void NetClient::adopt(const NetConnection& connection) {
    std::lock_guard<std::mutex> guard(listLock);
    connections.push_back(connection);
}

bool NetClient::isOpen(uintptr_t socket) const {
    std::lock_guard<std::mutex> guard(listLock);
    return std::any_of(connections.begin(), connections.end(),
                       [socket](const NetConnection& c) { return c.socket == socket; });
}

bool NetClient::takeOut(uintptr_t socket) {
    std::lock_guard<std::mutex> guard(listLock);
    const auto end = connections.end();
    const auto kept = std::remove_if(
        connections.begin(), end, [socket](const NetConnection& c) { return c.socket == socket; });
    connections.erase(kept, end);
    return kept != end;
}

int NetClient::sendPacket(const uint8_t* payload, size_t length, NetConnection& connection) {
    if (!connection.connected() || !connection.writeLock || !isOpen(connection.socket)) return -1;
    std::lock_guard<std::mutex> whole(*connection.writeLock);
    SocketChannel channel(static_cast<SOCKET>(connection.socket));
    return writePacket(channel, payload, length, connection.key);
}

int NetClient::sendPacket(const std::string& text, NetConnection& connection) {
    return sendPacket(reinterpret_cast<const uint8_t*>(text.data()), text.size(), connection);
}

Packet NetClient::receivePacket(NetConnection& connection) {
    Packet packet;
    receivePacket(connection, packet);
    return packet;
}

ReceiveStatus NetClient::receivePacket(NetConnection& connection, Packet& packet) {
    packet = Packet();
    if (!connection.connected() || !isOpen(connection.socket)) return ReceiveStatus::ReadFailed;
    SocketChannel channel(static_cast<SOCKET>(connection.socket));
    const ReceiveStatus status = readPacket(channel, connection.key, readLimits, packet);
    switch (status) {
        case ReceiveStatus::Received:
            break;
        case ReceiveStatus::TooLarge:
            errors.push(PacketTooLarge, connection.peerAddress);
            close(connection);
            break;
        case ReceiveStatus::Empty:
            errors.push(PacketSizeOrCloseFailed, "non positive packet size");
            break;
        case ReceiveStatus::ReadFailed:
        case ReceiveStatus::Malformed:
            break;
    }
    return status;
}

bool NetClient::close(NetConnection& connection) {
    const uintptr_t socket = connection.socket;
    connection.socket = NetConnection::noSocket;
    // A connection that is no longer listed was closed through another copy of
    // its record (or never opened): its handle may already belong to someone
    // else, so it must not be closed again.
    if (socket == NetConnection::noSocket || !takeOut(socket)) return true;
    const SOCKET s = static_cast<SOCKET>(socket);
    // Shutting down first ends a read that another thread is blocked in.
    shutdown(s, SD_BOTH);
    if (closesocket(s) != 0) {
        errors.push(PacketSizeOrCloseFailed, "failure to close socket");
        return false;
    }
    return true;
}

size_t NetClient::openConnectionCount() const {
    std::lock_guard<std::mutex> guard(listLock);
    return connections.size();
}

}  // namespace lumonet
