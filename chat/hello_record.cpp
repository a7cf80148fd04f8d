#include "chat/hello_record.h"

#include <cstring>

namespace lumonet {

namespace {

void storeLittle16(uint16_t v, uint8_t* b) {
    b[0] = uint8_t(v);
    b[1] = uint8_t(v >> 8);
}

uint16_t loadLittle16(const uint8_t* b) {
    return uint16_t(b[0] | b[1] << 8);
}

}  // namespace

void encodeHello(const HelloRecord& hello, uint8_t out[helloSize]) {
    std::memcpy(out, hello.protocol, 3);
    storeLittle16(hello.major, out + 3);
    storeLittle16(hello.minor, out + 5);
    out[7] = hello.encryption;
}

HelloRecord decodeHello(const uint8_t in[helloSize]) {
    HelloRecord hello;
    std::memcpy(hello.protocol, in, 3);
    hello.major = loadLittle16(in + 3);
    hello.minor = loadLittle16(in + 5);
    hello.encryption = in[7];
    return hello;
}

std::string helloDifference(const HelloRecord& ours, const HelloRecord& theirs) {
    if (std::memcmp(ours.protocol, theirs.protocol, 3) != 0) return "invalid protocol id";
    if (ours.encryption != theirs.encryption) return "encryption difference";
    if (ours.major != theirs.major) return "major version difference";
    if (ours.minor != theirs.minor) return "minor version difference";
    return std::string();
}

}  // namespace lumonet
