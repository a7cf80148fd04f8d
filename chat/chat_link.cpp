#include "chat/chat_link.h"

namespace lumonet {

int sendLine(lumonet::NetClient& client, lumonet::NetConnection& connection,
             const std::string& line) {
    return client.sendPacket(line, connection);
}

std::string receiveLine(lumonet::NetClient& client, lumonet::NetConnection& connection,
                        bool* failed) {
    lumonet::Packet packet;
    const bool received =
        client.receivePacket(connection, packet) == lumonet::ReceiveStatus::Received;
    if (failed) *failed = !received;
    return received ? lumonet::payloadText(packet.payload) : std::string();
}

}  // namespace lumonet
