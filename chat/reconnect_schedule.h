// When the chat client tries again after its link was lost: waits that double
// from two seconds up to a minute, each moved by up to a fifth either way so
// that the clients of one failed server do not all come back in the same
// second, for a bounded number of tries.
#pragma once

#include <cstdint>

namespace lumonet {

constexpr int reconnectTries = 8;
constexpr int firstReconnectWaitMs = 2000;
constexpr int longestReconnectWaitMs = 60000;

// The wait before try `attempt` (1 to reconnectTries); `random` is any
// 32-bit random number.
int reconnectWaitMs(int attempt, uint32_t random);

}  // namespace lumonet
