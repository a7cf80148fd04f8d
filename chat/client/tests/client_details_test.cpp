// The client details file as the support server (OpenSSL's Blowfish), which
// shares no code with the client, reads it.
#include "chat/client/client_details.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "chat/tests/support/support_server_control.h"
#include "chat/winsock_session.h"

using namespace chatclient;

namespace {

std::string hex(const std::string& bytes) {
    std::string out;
    char pair[3];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        out += pair;
    }
    return out;
}

TEST(ClientDetails, TheSupportServerReadsTheSameText) {
    lumonet::WinsockSession winsock;
    SupportServerControl server;
    if (!server.connected()) GTEST_SKIP() << "run through support_server.py";
    EXPECT_EQ(server.ask(":details " + hex(encodeClientDetails({"Alice", "", "srv", "9191"}))),
              "Alice  srv 9191 1 1 ");
    EXPECT_EQ(
        server.ask(":details " + hex(encodeClientDetails({"Bob", "bob@example.com", "h", "9191"}))),
        "Bob bob@example.com h 9191 1 1 ");
}

}  // namespace
