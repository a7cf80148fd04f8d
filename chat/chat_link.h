// Lines of chat text over the packet layer: one line per packet.
#pragma once

#include <string>

#include "chat/net_connection.h"

namespace lumonet {

// Sends the line as one packet: the bytes written, or -1 (also for an empty
// line, which is never sent).
int sendLine(lumonet::NetClient& client, lumonet::NetConnection& connection,
             const std::string& line);

// The text of the next packet, up to a NUL if it holds one; empty when the
// connection failed, and then `failed` is set. A packet whose text is empty
// (it starts with a NUL) leaves `failed` clear: the connection is fine.
std::string receiveLine(lumonet::NetClient& client, lumonet::NetConnection& connection,
                        bool* failed = nullptr);

}  // namespace lumonet
