// The network layer against chat_peer.py, a server that shares no code with
// it: ctest starts this program through that script, which says in
// MENDORA_CHAT_PEER on which port each of its scenarios listens.
#include "chat/net_connection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "chat/chat_link.h"
#include "chat/host_address.h"
#include "chat/winsock_session.h"

using namespace lumonet;

namespace {

std::map<std::string, uint16_t> peerPorts() {
    std::map<std::string, uint16_t> ports;
    const char* list = std::getenv("MENDORA_CHAT_PEER");
    std::stringstream entries(list ? list : "");
    std::string entry;
    while (std::getline(entries, entry, ',')) {
        const size_t eq = entry.find('=');
        if (eq != std::string::npos)
            ports[entry.substr(0, eq)] = static_cast<uint16_t>(std::stoi(entry.substr(eq + 1)));
    }
    return ports;
}

class NetClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(winsock.started());
        ports = peerPorts();
        if (ports.empty()) GTEST_SKIP() << "run through chat_peer.py";
    }

    uint16_t port(const std::string& scenario) { return ports.at(scenario); }

    bool connectTo(const std::string& scenario, NetConnection& connection) {
        return client.connect("127.0.0.1", port(scenario), connection);
    }

    lumonet::WinsockSession winsock;
    std::map<std::string, uint16_t> ports;
    NetClient client;
};

// The echo scenario's report on one packet the client sent.
std::string echoOf(size_t total, size_t data, const std::string& text) {
    return "echo total=" + std::to_string(total) + " data=" + std::to_string(data) +
           " type=0 padding=zero|" + text;
}

TEST_F(NetClientTest, PacketsInteroperateInBothDirections) {
    NetConnection connection;
    ASSERT_TRUE(connectTo("echo", connection)) << client.errorText();
    EXPECT_EQ(connection.key, Bytes({'q', 'o', 'r', 'v', 'a', 'n', 't', 'e', 'l'}));
    EXPECT_EQ(connection.peerAddress, "127.0.0.1");
    EXPECT_EQ(client.openConnectionCount(), 1u);

    struct Case {
        std::string text;
        int total;
    } cases[] = {
        {"abcde", 20}, {"abcdefgh", 20}, {"abcdefghi", 28}, {std::string(1023, 'w'), 1036}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.size());
        EXPECT_EQ(lumonet::sendLine(client, connection, c.text), c.total);
        EXPECT_EQ(lumonet::receiveLine(client, connection), echoOf(c.total, c.text.size(), c.text));
    }
    const std::string login = " /$winClient USER Alice PASS a@b.c BLV1000 UGI:6__CPU:800";
    ASSERT_GT(lumonet::sendLine(client, connection, login), 0);
    EXPECT_EQ(lumonet::receiveLine(client, connection), echoOf(76, login.size(), login));

    EXPECT_TRUE(client.close(connection));
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(client.openConnectionCount(), 0u);
    EXPECT_EQ(lumonet::sendLine(client, connection, "after close"), -1);
    EXPECT_EQ(lumonet::receiveLine(client, connection), "");
    EXPECT_EQ(client.errorText(), "no error");
}

TEST_F(NetClientTest, ServerLinesArriveWhateverTheirDelivery) {
    NetConnection connection;
    ASSERT_TRUE(connectTo("scripted", connection)) << client.errorText();
    EXPECT_EQ(lumonet::receiveLine(client, connection), "/$chat Bob:hi");
    EXPECT_EQ(lumonet::receiveLine(client, connection), "abc") << "text stops at a NUL";
    EXPECT_EQ(lumonet::receiveLine(client, connection), "delivered one byte at a time");
    EXPECT_EQ(lumonet::receiveLine(client, connection), "one");
    const Packet two = client.receivePacket(connection);
    EXPECT_EQ(payloadText(two.payload), "two");
    EXPECT_EQ(two.header.type, 9u) << "the type is carried";
    EXPECT_EQ(lumonet::receiveLine(client, connection), "") << "the server closed";
}

TEST_F(NetClientTest, LargestPacketIsReceived) {
    NetConnection connection;
    ASSERT_TRUE(connectTo("largest", connection));
    const Packet packet = client.receivePacket(connection);
    ASSERT_EQ(packet.payload.size(), maxDataLength);
    for (size_t i = 0; i < packet.payload.size(); ++i)
        ASSERT_EQ(packet.payload[i], (i * 7) % 255 + 1) << "at " << i;
    EXPECT_EQ(packet.header.type, 3u);
}

TEST_F(NetClientTest, TooLargePacketClosesTheConnection) {
    NetConnection connection;
    ASSERT_TRUE(connectTo("too_large", connection));
    EXPECT_TRUE(client.receivePacket(connection).empty());
    EXPECT_EQ(client.errorText(), "5: packet is too large to receive - 127.0.0.1");
    EXPECT_FALSE(connection.connected());
    EXPECT_EQ(client.openConnectionCount(), 0u);
}

TEST_F(NetClientTest, ZeroLengthPacketIsAnErrorButKeepsTheConnection) {
    NetConnection connection;
    ASSERT_TRUE(connectTo("zero", connection));
    EXPECT_EQ(lumonet::receiveLine(client, connection), "");
    EXPECT_EQ(client.errorText(), "4:  - non positive packet size");
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(client.openConnectionCount(), 1u);
    EXPECT_TRUE(client.close(connection));
}

TEST_F(NetClientTest, MalformedHeadersAndBrokenPacketsFailTheRead) {
    for (const char* scenario : {"short_total", "data_over_body", "huge_total", "mid_packet"}) {
        SCOPED_TRACE(scenario);
        NetConnection connection;
        ASSERT_TRUE(connectTo(scenario, connection));
        EXPECT_TRUE(client.receivePacket(connection).empty());
        EXPECT_EQ(client.errorText(), "no error");
        EXPECT_TRUE(client.close(connection));
    }
}

TEST_F(NetClientTest, StalledPacketEndsAtTheIdleLimit) {
    ReadLimits limits;
    limits.bodyIdleMs = 300;
    client.setReadLimits(limits);
    NetConnection connection;
    ASSERT_TRUE(connectTo("stall", connection));
    EXPECT_TRUE(client.receivePacket(connection).empty());
    EXPECT_TRUE(client.close(connection));
}

TEST_F(NetClientTest, PeerThatStopsReadingFailsTheSendAtTheLimit) {
    client.setWriteLimit(300);
    NetConnection connection;
    ASSERT_TRUE(connectTo("deaf", connection));
    const std::string block(maxDataLength, 'd');
    // The socket buffers take a few packets; then a write has to wait.
    int result = lumonet::sendLine(client, connection, block);
    for (int i = 0; i < 1000 && result > 0; ++i)
        result = lumonet::sendLine(client, connection, block);
    EXPECT_EQ(result, -1);
    client.close(connection);
}

TEST_F(NetClientTest, HelloMismatchesAreReportedInOrder) {
    struct Case {
        const char* scenario;
        const char* text;
    } cases[] = {
        {"hello_minor", "6: hand shake failed between connections - minor version difference"},
        {"hello_major", "6: hand shake failed between connections - major version difference"},
        {"hello_flag_major", "6: hand shake failed between connections - encryption difference"},
        {"hello_protocol", "6: hand shake failed between connections - invalid protocol id"},
        {"hello_short", "6: hand shake failed between connections - encryption difference"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        NetConnection connection;
        EXPECT_FALSE(connectTo(c.scenario, connection));
        EXPECT_EQ(client.errorText(), c.text);
        EXPECT_FALSE(connection.connected());
        EXPECT_TRUE(connection.key.empty()) << "no key without a handshake";
    }
    EXPECT_EQ(client.openConnectionCount(), 0u);
}

TEST_F(NetClientTest, SilentServerFailsTheHandshakeAtItsLimit) {
    client.setHandshakeWait(300);
    NetConnection connection;
    EXPECT_FALSE(connectTo("hello_silent", connection));
    EXPECT_EQ(client.errorText(), "6: hand shake failed between connections - invalid protocol id");
}

TEST_F(NetClientTest, RefusedConnectNamesTheAddress) {
    NetConnection connection;
    EXPECT_FALSE(connectTo("closed", connection));
    EXPECT_EQ(client.errorText(), "3: failure to connect - 127.0.0.1: connection failed");
    EXPECT_EQ(client.errorText(), "no error");
}

TEST_F(NetClientTest, HostNamesAreLookedUp) {
    NetConnection connection;
    ASSERT_TRUE(client.connect("localhost", port("echo"), connection)) << client.errorText();
    EXPECT_EQ(connection.peerAddress, "127.0.0.1");
    EXPECT_TRUE(client.close(connection));

    EXPECT_FALSE(client.connect("no-such-host.invalid", port("echo"), connection));
    EXPECT_EQ(client.errorText(), "3: failure to connect - NULL: connection failed");
}

TEST_F(NetClientTest, WholePacketsFromTwoThreadsDoNotInterleave) {
    // Should the test fail, a sender must not wait for ever on a peer that
    // stopped reading.
    client.setWriteLimit(5000);
    NetConnection connection;
    ASSERT_TRUE(connectTo("echo", connection));
    // Lines large enough that one packet takes several socket writes.
    constexpr int perThread = 40;
    auto sender = [&](char name) {
        int failures = 0;
        for (int i = 0; i < perThread; ++i) {
            const std::string line = std::string("thread ") + name + " line " + std::to_string(i) +
                                     std::string(static_cast<size_t>(30000 + i * 997), name);
            if (lumonet::sendLine(client, connection, line) <= 0) ++failures;
        }
        return failures;
    };
    auto first = std::async(std::launch::async, sender, 'a');
    auto second = std::async(std::launch::async, sender, 'b');

    // The echoes are read while the threads send, so that neither side's
    // buffers fill up.
    std::set<std::string> echoed;
    for (int i = 0; i < 2 * perThread; ++i) {
        const std::string reply = lumonet::receiveLine(client, connection);
        if (reply.rfind("echo ", 0) != 0) {
            ADD_FAILURE() << "reply " << i << ": " << reply.substr(0, 80);
            client.close(connection);  // ends the senders too
            break;
        }
        echoed.insert(reply.substr(reply.find('|') + 1));
    }
    EXPECT_EQ(first.get(), 0);
    EXPECT_EQ(second.get(), 0);
    EXPECT_EQ(echoed.size(), size_t(2 * perThread));
    client.close(connection);
}

TEST_F(NetClientTest, ClosingEndsAReadBlockedInAnotherThread) {
    NetConnection connection;
    ASSERT_TRUE(connectTo("echo", connection));
    NetConnection listenerCopy = connection;
    auto reader =
        std::async(std::launch::async, [&] { return client.receivePacket(listenerCopy).empty(); });
    // Give the reader a moment to block; the close must end it either way.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(client.close(connection));
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_TRUE(reader.get());
    // The listener's copy still names the socket; closing it again is harmless.
    EXPECT_TRUE(client.close(listenerCopy));
    EXPECT_EQ(client.errorText(), "no error");
}

TEST(HostAddress, DottedAddressRule) {
    EXPECT_TRUE(isDottedAddress("10.0.0.5"));
    EXPECT_TRUE(isDottedAddress("127.0.0.1"));
    EXPECT_FALSE(isDottedAddress("10..0.5"));
    EXPECT_FALSE(isDottedAddress("10.0.0"));
    EXPECT_FALSE(isDottedAddress("10.0.0.5a"));
    EXPECT_FALSE(isDottedAddress("10.0.0.5.6"));
    EXPECT_FALSE(isDottedAddress("support.example.com"));
    EXPECT_FALSE(isDottedAddress(""));
    // Used without a lookup, even where no lookup would know it.
    lumonet::WinsockSession winsock;
    EXPECT_EQ(resolveHost("10.0.0.5"), "10.0.0.5");
}

}  // namespace
