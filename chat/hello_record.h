// The 8-byte record each side sends once, right after the TCP connect, so
// that both know they speak the same protocol version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace lumonet {

constexpr size_t helloSize = 8;
constexpr uint16_t majorVersion = 1;
constexpr uint16_t minorVersion = 0;

struct HelloRecord {
    char protocol[3] = {'B', 'L', 'N'};
    uint16_t major = majorVersion;
    uint16_t minor = minorVersion;
    uint8_t encryption = 1;
};

void encodeHello(const HelloRecord& hello, uint8_t out[helloSize]);
HelloRecord decodeHello(const uint8_t in[helloSize]);

// Compares the server's record with ours field by field, in the order that
// decides which difference is reported: protocol id, encryption flag, major
// version, minor version. Returns an empty text when they agree, otherwise
// the difference ("invalid protocol id", "encryption difference", ...).
std::string helloDifference(const HelloRecord& ours, const HelloRecord& theirs);

}  // namespace lumonet
