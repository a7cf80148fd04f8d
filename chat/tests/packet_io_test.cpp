#include "chat/packet_io.h"

#include <gtest/gtest.h>

#include <cstring>

#include "chat/encrypter.h"
#include "chat/tests/support/memory_channel.h"

using namespace lumonet;

namespace {

const Bytes key = {'q', 'o', 'r', 'v', 'a', 'n', 't', 'e', 'l'};

Bytes packetFor(const std::string& text) {
    return buildPacket(reinterpret_cast<const uint8_t*>(text.data()), text.size(), key);
}

Bytes rawHeader(uint32_t total, uint32_t data, uint32_t type = 0) {
    PacketHeader h{total, data, type};
    Bytes bytes(headerSize);
    encodeHeader(h, bytes.data());
    return bytes;
}

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(PacketIo, WritesOnePacketAndCountsItsBytes) {
    MemoryChannel channel;
    const std::string text = "abcdefghi";
    EXPECT_EQ(writePacket(channel, reinterpret_cast<const uint8_t*>(text.data()), text.size(), key),
              28);
    EXPECT_EQ(channel.written, packetFor(text));

    channel.failWrites = true;
    EXPECT_EQ(writePacket(channel, reinterpret_cast<const uint8_t*>(text.data()), 3, key), -1);
    channel.failWrites = false;
    EXPECT_EQ(writePacket(channel, reinterpret_cast<const uint8_t*>(text.data()), 0, key), -1)
        << "empty payloads are never sent";
}

TEST(PacketIo, ReadsPacketsSplitIntoSmallReads) {
    for (size_t readSize : {size_t(1), size_t(3), size_t(13), size_t(4096)}) {
        SCOPED_TRACE(readSize);
        MemoryChannel channel(concat(packetFor("first line"), packetFor("second")), readSize);
        Packet packet;
        ASSERT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::Received);
        EXPECT_EQ(payloadText(packet.payload), "first line");
        EXPECT_EQ(packet.header.totalLength, 28u);
        ASSERT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::Received);
        EXPECT_EQ(payloadText(packet.payload), "second");
        EXPECT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::ReadFailed);
        EXPECT_TRUE(packet.empty());
    }
}

TEST(PacketIo, TooLargePacketIsRefusedUnread) {
    Packet packet;
    MemoryChannel tooLarge(concat(rawHeader(12 + maxDataLength + 8, maxDataLength + 1),
                                  Bytes(maxDataLength + 8, 'z')));
    EXPECT_EQ(readPacket(tooLarge, key, ReadLimits(), packet), ReceiveStatus::TooLarge);
    EXPECT_EQ(tooLarge.requested, headerSize) << "the body must not be read";
    EXPECT_TRUE(packet.empty());
}

TEST(PacketIo, MalformedHeadersStopBeforeTheBody) {
    struct Case {
        uint32_t total, data;
    } cases[] = {{0, 5},          {11, 5},          {16, 5}, {12 + maxDataLength + 8, 5},
                 {0xFFFFFFFF, 8}, {0x80000000, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        MemoryChannel channel(concat(rawHeader(c.total, c.data), Bytes(64, 'x')));
        Packet packet;
        EXPECT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::Malformed);
        EXPECT_EQ(channel.requested, headerSize);
        EXPECT_TRUE(packet.empty());
    }
}

TEST(PacketIo, PeerClosingMidPacketFailsTheRead) {
    const Bytes whole = packetFor("a line that spans blocks");
    for (size_t cut : {size_t(0), size_t(5), headerSize, headerSize + 7, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        MemoryChannel channel(Bytes(whole.begin(), whole.begin() + cut));
        Packet packet;
        EXPECT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::ReadFailed);
        EXPECT_TRUE(packet.empty());
    }
}

TEST(PacketIo, ABodyPaddedBeyondItsBlockGivesItsDataAlone) {
    // A sender that pads "hello" to 24 bytes: the reader keeps the first five.
    Bytes body(24, 0);
    std::memcpy(body.data(), "hello", 5);
    Encrypter cipher;
    ASSERT_TRUE(cipher.setKey(key.data(), key.size()));
    cipher.encryptEcb(body.data(), body.size());
    MemoryChannel channel(concat(rawHeader(12 + 24, 5), body));
    Packet packet;
    ASSERT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::Received);
    EXPECT_EQ(payloadText(packet.payload), "hello");
    EXPECT_EQ(channel.requested, headerSize + 24);
}

TEST(PacketIo, ABodyShorterThanItsPaddingKeepsItsTailAsSent) {
    // Five data bytes in a five-byte body: no whole block to decrypt.
    MemoryChannel channel(concat(rawHeader(17, 5), Bytes{'p', 'l', 'a', 'i', 'n'}));
    Packet packet;
    ASSERT_EQ(readPacket(channel, key, ReadLimits(), packet), ReceiveStatus::Received);
    EXPECT_EQ(payloadText(packet.payload), "plain");
}

}  // namespace
