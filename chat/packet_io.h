// Writing and reading whole packets over a byte channel.
#pragma once

#include "chat/byte_channel.h"
#include "chat/lumo_packet.h"

namespace lumonet {

struct Packet {
    PacketHeader header;
    Bytes payload;  // the plain payload; empty means no packet
    bool empty() const { return payload.empty(); }
};

enum class ReceiveStatus {
    Received,
    ReadFailed,  // the channel failed or closed, also in the middle of a packet
    TooLarge,    // data length above maxDataLength
    Empty,       // data length 0
    Malformed,   // impossible lengths; nothing more was read
};

struct ReadLimits {
    // Waiting for a packet to begin: a chat may be quiet for a long time.
    int headerWaitMs = waitForever;
    // Once a packet has begun, how long each read may wait for more bytes.
    int bodyIdleMs = 60000;
};

// Encrypts and writes one packet; the number of bytes written, or -1 when
// the payload is empty or too large, the key is unusable or a write fails.
int writePacket(ByteChannel& channel, const uint8_t* payload, size_t length, const Bytes& key);

// Reads one packet. The body is read, and memory for it taken, only after the
// header has been checked, so a hostile header costs nothing.
ReceiveStatus readPacket(ByteChannel& channel, const Bytes& key, const ReadLimits& limits,
                         Packet& packet);

}  // namespace lumonet
