// The packets of the chat connection: a 12-byte header and a payload padded to
// whole cipher blocks and encrypted. Pure byte work, no sockets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lumonet {

using Bytes = std::vector<uint8_t>;

constexpr size_t headerSize = 12;
// The largest payload either side accepts.
constexpr uint32_t maxDataLength = 102400;

struct PacketHeader {
    uint32_t totalLength = 0;  // header + encrypted payload
    uint32_t dataLength = 0;   // plain payload
    uint32_t type = 0;
};

void encodeHeader(const PacketHeader& header, uint8_t out[headerSize]);
PacketHeader decodeHeader(const uint8_t in[headerSize]);

// The payload length rounded up to whole cipher blocks.
uint32_t paddedLength(uint32_t dataLength);

// What a received header allows the reader to do next.
enum class HeaderVerdict {
    Acceptable,
    TooLarge,   // data length above maxDataLength
    Empty,      // data length 0
    Malformed,  // data longer than the body, or a body above the padded cap
};
HeaderVerdict checkHeader(const PacketHeader& header);

// The whole packet for a payload of 1 to maxDataLength bytes, encrypted with
// the key; empty when the payload or the key is unusable. The padding is zero
// bytes.
Bytes buildPacket(const uint8_t* payload, size_t length, const Bytes& key, uint32_t type = 0);

// Decrypts a received body (total length - 12 bytes) in place and cuts it to
// the data length. False when the key is unusable or the body is shorter than
// the data length.
bool openPayload(Bytes& body, uint32_t dataLength, const Bytes& key);

// The text of a payload: its bytes up to the first NUL, if there is one.
std::string payloadText(const Bytes& payload);

}  // namespace lumonet
