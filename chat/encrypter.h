// Blowfish: 16 rounds over 64-bit blocks, keys of 1 to 56 bytes, used in ECB
// mode. A block's two 32-bit halves are read and written big-endian, so the
// bytes agree with every other implementation whatever the host byte order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumonet {

class Encrypter {
public:
    static constexpr size_t blockSize = 8;
    static constexpr size_t minKeyLength = 1;
    static constexpr size_t maxKeyLength = 56;

    Encrypter();

    // Runs the key expansion. A key shorter than 1 or longer than 56 bytes
    // is refused and leaves the object without a key.
    bool setKey(const uint8_t* key, size_t length);
    bool hasKey() const { return keyed; }

    void encryptBlock(uint32_t& left, uint32_t& right) const;
    void decryptBlock(uint32_t& left, uint32_t& right) const;

    // ECB over the whole 8-byte blocks of the buffer, in place; trailing
    // bytes of a partial block stay as they are. False without a key.
    bool encryptEcb(uint8_t* data, size_t length) const;
    bool decryptEcb(uint8_t* data, size_t length) const;

private:
    uint32_t feistel(uint32_t x) const;

    uint32_t p[18];
    uint32_t s[4][256];
    bool keyed = false;
};

}  // namespace lumonet
