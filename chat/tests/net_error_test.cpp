#include "chat/net_error.h"

#include <gtest/gtest.h>

using namespace lumonet;

namespace {

TEST(NetErrorQueue, OldestFirstWithCodeTextAndDetail) {
    NetErrorQueue queue;
    EXPECT_EQ(queue.takeText(), "no error");
    queue.push(ConnectFailed, "10.0.0.5: connection failed");
    queue.push(SocketCreateFailed);
    queue.push(PacketSizeOrCloseFailed, "failure to close socket");
    queue.push(99);
    EXPECT_EQ(queue.takeText(), "3: failure to connect - 10.0.0.5: connection failed");
    EXPECT_EQ(queue.takeText(), "2: failure to create socket");
    EXPECT_EQ(queue.takeText(), "4:  - failure to close socket");
    EXPECT_EQ(queue.takeText(), "99: unknown");
    EXPECT_EQ(queue.takeText(), "no error");
    EXPECT_EQ(errorCodeText(HostNotFound), "host not found");
}

TEST(NetErrorQueue, UnreadErrorsAreBoundedDroppingTheOldest) {
    NetErrorQueue queue;
    for (size_t i = 0; i < NetErrorQueue::capacity + 10; ++i)
        queue.push(HandshakeFailed, std::to_string(i));
    EXPECT_EQ(queue.size(), NetErrorQueue::capacity);
    EXPECT_EQ(queue.takeText(), "6: hand shake failed between connections - 10");
}

}  // namespace
