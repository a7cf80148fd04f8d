#include "chat/reconnect_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace lumonet;

TEST(ReconnectSchedule, WaitsDoubleToAMinuteWithinAFifthEitherWay) {
    const int bases[reconnectTries] = {2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000};
    for (int attempt = 1; attempt <= reconnectTries; ++attempt) {
        SCOPED_TRACE(attempt);
        const int base = bases[attempt - 1];
        EXPECT_EQ(reconnectWaitMs(attempt, 0), base - base / 5);
        EXPECT_EQ(reconnectWaitMs(attempt, 2 * (base / 5)), base + base / 5);
        for (uint32_t random : {1u, 12345u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
            const int wait = reconnectWaitMs(attempt, random);
            EXPECT_GE(wait, base - base / 5);
            EXPECT_LE(wait, base + base / 5);
        }
    }
    // All the tries together stay within a few minutes.
    int longest = 0;
    for (int attempt = 1; attempt <= reconnectTries; ++attempt)
        longest += reconnectWaitMs(attempt, 0xFFFFFFFFu);
    EXPECT_LE(longest, 5 * 60 * 1000);
}
