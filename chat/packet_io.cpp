#include "chat/packet_io.h"

namespace lumonet {

int writePacket(ByteChannel& channel, const uint8_t* payload, size_t length, const Bytes& key) {
    const Bytes packet = buildPacket(payload, length, key);
    if (packet.empty()) return -1;
    if (!channel.writeAll(packet.data(), packet.size())) return -1;
    return static_cast<int>(packet.size());
}

ReceiveStatus readPacket(ByteChannel& channel, const Bytes& key, const ReadLimits& limits,
                         Packet& packet) {
    packet = Packet();
    uint8_t headerBytes[headerSize];
    if (channel.readExact(headerBytes, headerSize, limits.headerWaitMs) != headerSize)
        return ReceiveStatus::ReadFailed;
    const PacketHeader header = decodeHeader(headerBytes);
    switch (checkHeader(header)) {
        case HeaderVerdict::TooLarge:
            return ReceiveStatus::TooLarge;
        case HeaderVerdict::Empty:
            return ReceiveStatus::Empty;
        case HeaderVerdict::Malformed:
            return ReceiveStatus::Malformed;
        case HeaderVerdict::Acceptable:
            break;
    }
    Bytes body(header.totalLength - headerSize);
    if (channel.readExact(body.data(), body.size(), limits.bodyIdleMs) != body.size())
        return ReceiveStatus::ReadFailed;
    if (!openPayload(body, header.dataLength, key)) return ReceiveStatus::ReadFailed;
    packet.header = header;
    packet.payload = std::move(body);
    return ReceiveStatus::Received;
}

}  // namespace lumonet
