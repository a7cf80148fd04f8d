#include "chat/reconnect_schedule.h"

namespace lumonet {

int reconnectWaitMs(int attempt, uint32_t random) {
    int base = firstReconnectWaitMs;
    for (int i = 1; i < attempt && base < longestReconnectWaitMs; ++i) base *= 2;
    if (base > longestReconnectWaitMs) base = longestReconnectWaitMs;
    const int spread = base / 5;
    return base - spread + static_cast<int>(random % static_cast<uint32_t>(2 * spread + 1));
}

}  // namespace lumonet
