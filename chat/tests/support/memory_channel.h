// A byte channel fed from memory: what a test wants the peer to have sent,
// handed out in reads of a chosen size, and a record of what was written.
#pragma once

#include <algorithm>

#include "chat/byte_channel.h"
#include "chat/lumo_packet.h"

class MemoryChannel : public lumonet::ByteChannel {
public:
    explicit MemoryChannel(lumonet::Bytes incoming = {}, size_t readSize = 4096)
        : input(std::move(incoming)), chunk(readSize) {}

    bool writeAll(const uint8_t* data, size_t length) override {
        if (failWrites) return false;
        written.insert(written.end(), data, data + length);
        return true;
    }

    size_t readExact(uint8_t* data, size_t length, int) override {
        size_t done = 0;
        while (done < length && position < input.size()) {
            const size_t n = std::min({length - done, chunk, input.size() - position});
            std::copy_n(input.begin() + position, n, data + done);
            position += n;
            done += n;
            ++reads;
        }
        requested += length;
        return done;
    }

    lumonet::Bytes input;
    size_t chunk;
    size_t position = 0;
    size_t reads = 0;
    size_t requested = 0;  // bytes the reader asked for
    bool failWrites = false;
    lumonet::Bytes written;
};
