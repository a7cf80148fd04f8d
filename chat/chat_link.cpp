#include "chat/chat_link.h"

int sendLine(lumonet::NetClient& client, lumonet::NetConnection& connection,
             const std::string& line) {
    return client.sendPacket(line, connection);
}

std::string receiveLine(lumonet::NetClient& client, lumonet::NetConnection& connection) {
    return lumonet::payloadText(client.receivePacket(connection).payload);
}
