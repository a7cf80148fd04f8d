// SHA-256 (FIPS 180-4), for checking downloaded files against the digest the
// update server names. Pure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace updater {

class Sha256 {
public:
    Sha256();
    void add(const void* data, size_t length);
    // The digest of everything added, as 64 lower-case hexadecimal digits;
    // the object is spent afterwards.
    std::string hexDigest();

private:
    void block(const uint8_t* data);

    uint32_t state_[8];
    uint8_t pending_[64];
    size_t pendingLength_ = 0;
    uint64_t totalLength_ = 0;
};

// The digest of a text's bytes.
std::string sha256Hex(const std::string& bytes);

}  // namespace updater
