#include "updater/fetchkit/pace.h"

#include <algorithm>

namespace fetchkit {

Pace::Pace(const TransferLimits& limits, uint32_t now) : limits_(limits), start_(now) {
    startTry(now);
}

void Pace::startTry(uint32_t now) {
    tryStart_ = now;
    samples_.clear();
    samples_.push_back({now, 0});
}

bool Pace::acceptable(uint32_t now, uint64_t received) {
    if (now - start_ >= limits_.deadlineMs) return false;
    samples_.push_back({now, received});
    while (samples_.size() > 1 && now - samples_[1].at >= limits_.windowMs) samples_.pop_front();
    if (now - tryStart_ < std::max(limits_.graceMs, limits_.windowMs)) return true;
    // The try's first sample is at its start, so the oldest one kept is at
    // least a window old here.
    const Sample& oldest = samples_.front();
    const uint64_t span = now - oldest.at;
    return (received - oldest.received) * 1000 >= limits_.minBytesPerSecond * span;
}

}  // namespace fetchkit
