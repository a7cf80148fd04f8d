#include "chat/lumo_packet.h"

#include <gtest/gtest.h>

#include <cstring>

#include "chat/hello_record.h"

using namespace lumonet;

namespace {

Bytes keyBytes(const char* key) {
    return Bytes(key, key + std::strlen(key));
}

PacketHeader headerOf(const Bytes& packet) {
    return decodeHeader(packet.data());
}

TEST(PacketFormat, PayloadsArePaddedToWholeBlocks) {
    const Bytes key = keyBytes("qorvantel");
    const uint8_t payload[17] = "abcdefghijklmnop";
    struct Case {
        size_t length;
        uint32_t total;
    } cases[] = {{5, 20}, {8, 20}, {9, 28}, {1, 20}, {16, 28}, {17, 36}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const Bytes packet = buildPacket(payload, c.length, key);
        const PacketHeader header = headerOf(packet);
        EXPECT_EQ(header.totalLength, c.total);
        EXPECT_EQ(header.dataLength, c.length);
        EXPECT_EQ(header.type, 0u);
        EXPECT_EQ(packet.size(), c.total);
    }
}

TEST(PacketFormat, HeaderFieldsAreLittleEndian) {
    PacketHeader header;
    header.totalLength = 0x01020314;
    header.dataLength = 0x0A0B0C0D;
    header.type = 0xFFFFFFFE;
    uint8_t bytes[headerSize];
    encodeHeader(header, bytes);
    const uint8_t expected[headerSize] = {0x14, 0x03, 0x02, 0x01, 0x0D, 0x0C,
                                          0x0B, 0x0A, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(0, std::memcmp(bytes, expected, headerSize));
    const PacketHeader back = decodeHeader(bytes);
    EXPECT_EQ(back.totalLength, header.totalLength);
    EXPECT_EQ(back.dataLength, header.dataLength);
    EXPECT_EQ(back.type, header.type);
}

TEST(PacketFormat, UnusablePayloadsAndKeysBuildNothing) {
    const Bytes key = keyBytes("qorvantel");
    const Bytes big(maxDataLength + 1, 'x');
    EXPECT_TRUE(buildPacket(big.data(), 0, key).empty());
    EXPECT_TRUE(buildPacket(big.data(), big.size(), key).empty());
    EXPECT_EQ(buildPacket(big.data(), maxDataLength, key).size(), headerSize + maxDataLength);
    EXPECT_TRUE(buildPacket(big.data(), 5, Bytes()).empty()) << "no key before the handshake";
}

TEST(PacketFormat, HeaderVerdicts) {
    auto verdict = [](uint32_t total, uint32_t data) {
        PacketHeader h;
        h.totalLength = total;
        h.dataLength = data;
        return checkHeader(h);
    };
    EXPECT_EQ(verdict(20, 5), HeaderVerdict::Acceptable);
    EXPECT_EQ(verdict(20, 8), HeaderVerdict::Acceptable);
    EXPECT_EQ(verdict(12 + maxDataLength, maxDataLength), HeaderVerdict::Acceptable);
    EXPECT_EQ(verdict(12 + maxDataLength + 8, maxDataLength + 1), HeaderVerdict::TooLarge);
    EXPECT_EQ(verdict(0xFFFFFFFF, 0xFFFFFFFF), HeaderVerdict::TooLarge);
    EXPECT_EQ(verdict(20, 0), HeaderVerdict::Empty);
    EXPECT_EQ(verdict(11, 5), HeaderVerdict::Malformed) << "shorter than a header";
    EXPECT_EQ(verdict(0, 5), HeaderVerdict::Malformed);
    EXPECT_EQ(verdict(16, 5), HeaderVerdict::Malformed) << "data longer than the body";
    EXPECT_EQ(verdict(28, 5), HeaderVerdict::Acceptable) << "padded beyond the next block";
    EXPECT_EQ(verdict(12 + maxDataLength, 5), HeaderVerdict::Acceptable);
    EXPECT_EQ(verdict(12 + maxDataLength + 8, 5), HeaderVerdict::Malformed) << "above the cap";
    EXPECT_EQ(verdict(0xFFFFFFFF, 5), HeaderVerdict::Malformed) << "a 4 GB body";
}

TEST(PacketFormat, PayloadTextStopsAtTheFirstNul) {
    EXPECT_EQ(payloadText(Bytes{'a', 'b', 0, 'c'}), "ab");
    EXPECT_EQ(payloadText(Bytes{'a', 'b', 'c'}), "abc");
    EXPECT_EQ(payloadText(Bytes{0, 'x'}), "");
    EXPECT_EQ(payloadText(Bytes{}), "");
}

TEST(HelloRecord, OursOnTheWire) {
    uint8_t bytes[helloSize];
    encodeHello(HelloRecord(), bytes);
    const uint8_t expected[helloSize] = {'B', 'L', 'N', 1, 0, 0, 0, 1};
    EXPECT_EQ(0, std::memcmp(bytes, expected, helloSize));
}

TEST(HelloRecord, DifferencesAreReportedInFixedOrder) {
    const HelloRecord ours;
    auto theirs = [](const uint8_t(&b)[helloSize]) { return decodeHello(b); };

    EXPECT_EQ(helloDifference(ours, theirs({'B', 'L', 'N', 1, 0, 0, 0, 1})), "");
    EXPECT_EQ(helloDifference(ours, theirs({'B', 'L', 'N', 1, 0, 1, 0, 1})),
              "minor version difference");
    EXPECT_EQ(helloDifference(ours, theirs({'B', 'L', 'N', 2, 0, 1, 0, 1})),
              "major version difference");
    EXPECT_EQ(helloDifference(ours, theirs({'B', 'L', 'N', 2, 0, 1, 0, 0})),
              "encryption difference");
    EXPECT_EQ(helloDifference(ours, theirs({'B', 'L', 'X', 2, 0, 1, 0, 0})), "invalid protocol id");
    // The major version is 16 bits wide: a difference in its high byte counts.
    EXPECT_EQ(helloDifference(ours, theirs({'B', 'L', 'N', 1, 1, 0, 0, 1})),
              "major version difference");
}

}  // namespace
