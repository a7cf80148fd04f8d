#include "chat/lumo_packet.h"

#include <cstring>

#include "chat/encrypter.h"

namespace lumonet {

namespace {

void storeLittle32(uint32_t v, uint8_t* b) {
    for (int i = 0; i < 4; ++i) b[i] = uint8_t(v >> (8 * i));
}

uint32_t loadLittle32(const uint8_t* b) {
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

bool keyCipher(const Bytes& key, Encrypter& cipher) {
    return cipher.setKey(key.data(), key.size());
}

}  // namespace

void encodeHeader(const PacketHeader& header, uint8_t out[headerSize]) {
    storeLittle32(header.totalLength, out);
    storeLittle32(header.dataLength, out + 4);
    storeLittle32(header.type, out + 8);
}

PacketHeader decodeHeader(const uint8_t in[headerSize]) {
    PacketHeader header;
    header.totalLength = loadLittle32(in);
    header.dataLength = loadLittle32(in + 4);
    header.type = loadLittle32(in + 8);
    return header;
}

uint32_t paddedLength(uint32_t dataLength) {
    // Callers stay far below the wrap-around: data lengths are checked against
    // maxDataLength first.
    return (dataLength + 7) / 8 * 8;
}

HeaderVerdict checkHeader(const PacketHeader& header) {
    if (header.dataLength > maxDataLength) return HeaderVerdict::TooLarge;
    if (header.dataLength == 0) return HeaderVerdict::Empty;
    if (header.totalLength < headerSize) return HeaderVerdict::Malformed;
    const uint32_t body = header.totalLength - headerSize;
    if (header.dataLength > body) return HeaderVerdict::Malformed;
    // A sender may pad more than to the next block: the reader keeps the
    // first data-length bytes of whatever body it is given. Bodies above the
    // largest padded payload are refused before anything is read.
    if (body > paddedLength(maxDataLength)) return HeaderVerdict::Malformed;
    return HeaderVerdict::Acceptable;
}

Bytes buildPacket(const uint8_t* payload, size_t length, const Bytes& key, uint32_t type) {
    if (payload == nullptr || length == 0 || length > maxDataLength) return Bytes();
    Encrypter cipher;
    if (!keyCipher(key, cipher)) return Bytes();

    const uint32_t dataLength = static_cast<uint32_t>(length);
    PacketHeader header;
    header.dataLength = dataLength;
    header.totalLength = uint32_t(headerSize) + paddedLength(dataLength);
    header.type = type;

    Bytes packet(header.totalLength, 0);
    encodeHeader(header, packet.data());
    std::memcpy(packet.data() + headerSize, payload, length);
    cipher.encryptEcb(packet.data() + headerSize, packet.size() - headerSize);
    return packet;
}

bool openPayload(Bytes& body, uint32_t dataLength, const Bytes& key) {
    if (body.size() < dataLength) return false;
    Encrypter cipher;
    if (!keyCipher(key, cipher)) return false;
    cipher.decryptEcb(body.data(), body.size());
    body.resize(dataLength);
    return true;
}

std::string payloadText(const Bytes& payload) {
    if (payload.empty()) return std::string();
    const auto* bytes = reinterpret_cast<const char*>(payload.data());
    return std::string(bytes, strnlen(bytes, payload.size()));
}

}  // namespace lumonet
