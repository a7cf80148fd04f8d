// A 64-bit FNV-1a hash, fed a byte at a time, with a final mix for tables
// that index by the low bits.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win {

class TextHash {
public:
    void add(unsigned char byte) {
        h_ ^= byte;
        h_ *= 1099511628211ull;
    }

    void add(const void* bytes, size_t length) {
        const auto* p = static_cast<const unsigned char*>(bytes);
        for (size_t i = 0; i < length; ++i) add(p[i]);
    }

    // FNV's low bits are weak for near-identical texts; the high ones are
    // mixed in.
    uint64_t value() const {
        uint64_t h = h_;
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 33;
        return h;
    }

private:
    uint64_t h_ = 14695981039346656037ull;
};

}  // namespace win
