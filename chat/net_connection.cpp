#include "chat/net_connection.h"

#include <winsock2.h>

#include <algorithm>
#include <cstring>

#include "chat/hello_record.h"
#include "chat/host_address.h"
#include "chat/socket_channel.h"
#include "chat/socket_handle.h"

namespace lumonet {

const char connectionKey[] = "qorvantel";

namespace {

Bytes fixedKey() {
    return Bytes(connectionKey, connectionKey + std::strlen(connectionKey));
}

}  // namespace

NetClient::~NetClient() {
    std::lock_guard<std::mutex> guard(listLock);
    for (const NetConnection& c : connections) closesocket(static_cast<SOCKET>(c.socket));
}

bool NetClient::connect(const std::string& host, uint16_t port, NetConnection& connection) {
    const std::string address = resolveHost(host);

    lumonet::Socket sock(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!sock) {
        errors.push(SocketCreateFailed);
        return false;
    }

    sockaddr_in peer;
    std::memset(&peer, 0, sizeof peer);
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = inet_addr(address.c_str());
    if (peer.sin_addr.s_addr == INADDR_NONE ||
        ::connect(sock.get(), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        errors.push(ConnectFailed, address + ": connection failed");
        return false;
    }

    // A peer that stops reading must not hold a sending thread for ever.
    const DWORD writeLimit = static_cast<DWORD>(writeLimitMs);
    setsockopt(sock.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&writeLimit),
               sizeof writeLimit);

    HelloRecord ours;
    ours.encryption = connection.encryption ? 1 : 0;
    uint8_t hello[helloSize];
    encodeHello(ours, hello);
    SocketChannel channel(sock.get());
    // A failed or short exchange leaves zero bytes in the server's record,
    // which then differs from ours.
    uint8_t reply[helloSize] = {};
    const bool complete = channel.writeAll(hello, helloSize) &&
                          channel.readExact(reply, helloSize, handshakeWaitMs) == helloSize;
    std::string difference = helloDifference(ours, decodeHello(reply));
    if (!complete && difference.empty()) difference = "invalid protocol id";
    if (!difference.empty()) {
        errors.push(HandshakeFailed, difference);
        return false;
    }

    connection.peerAddress = address;
    connection.socket = static_cast<uintptr_t>(sock.detach());
    connection.key = fixedKey();
    connection.writeLock = std::make_shared<std::mutex>();
    std::lock_guard<std::mutex> guard(listLock);
    connections.push_back(connection);
    return true;
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
