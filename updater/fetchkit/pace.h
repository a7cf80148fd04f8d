// How long a transfer may take and how slowly it may run. A server that
// trickles a byte now and then never trips a socket's time-out; these limits
// end it all the same.
#pragma once

#include <cstdint>
#include <deque>

namespace fetchkit {

struct TransferLimits {
    // The whole transfer, a second try included.
    uint32_t deadlineMs;
    // From the start of a try: the connection, the answer's headers and the
    // first bytes, before the rate is asked for.
    uint32_t graceMs;
    // The span the rate is averaged over, so that a pause of a few seconds in
    // a transfer that is otherwise fast does not end it.
    uint32_t windowMs;
    // Below the slowest dial-up line a user would still wait for.
    uint32_t minBytesPerSecond;
};

// An answer kept in memory is a few lines: half a minute is more than enough.
constexpr TransferLimits kMemoryLimits{30 * 1000, 10 * 1000, 10 * 1000, 1024};
// A file of a few megabytes takes minutes on a slow line, never ten.
constexpr TransferLimits kFileLimits{10 * 60 * 1000, 10 * 1000, 10 * 1000, 1024};

// WinINet's own bound on each step (connecting, sending, a read) that hears
// nothing from the server.
constexpr uint32_t kSocketTimeoutMs = 10 * 1000;

// The check of one running transfer against its limits. Times are
// GetTickCount() values; only their differences are used, so the counter's
// wrap does no harm.
class Pace {
public:
    Pace(const TransferLimits& limits, uint32_t now);

    // A new try: the bytes start from zero again and the grace starts anew;
    // the deadline does not.
    void startTry(uint32_t now);

    // Takes the bytes the current try received by `now`; false when the
    // transfer is past its deadline or slower than the rate allows.
    bool acceptable(uint32_t now, uint64_t received);

private:
    struct Sample {
        uint32_t at;
        uint64_t received;
    };

    TransferLimits limits_;
    uint32_t start_;
    uint32_t tryStart_;
    // The newest sample at least a window old, and every one after it.
    std::deque<Sample> samples_;
};

}  // namespace fetchkit
