#include "chat/encrypter.h"

#include <cstring>
#include <utility>

#include "chat/blowfish_tables.h"

namespace lumonet {

namespace {

uint32_t loadBigEndian(const uint8_t* b) {
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}

void storeBigEndian(uint32_t v, uint8_t* b) {
    b[0] = uint8_t(v >> 24);
    b[1] = uint8_t(v >> 16);
    b[2] = uint8_t(v >> 8);
    b[3] = uint8_t(v);
}

}  // namespace

Encrypter::Encrypter() {
    std::memcpy(p, lumonet::initialP, sizeof p);
    std::memcpy(s, lumonet::initialS, sizeof s);
}

uint32_t Encrypter::feistel(uint32_t x) const {
    return ((s[0][x >> 24] + s[1][(x >> 16) & 0xFF]) ^ s[2][(x >> 8) & 0xFF]) + s[3][x & 0xFF];
}

void Encrypter::encryptBlock(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int round = 0; round < 16; ++round) {
        l ^= p[round];
        r ^= feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p[16];
    l ^= p[17];
    left = l;
    right = r;
}

void Encrypter::decryptBlock(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int round = 17; round > 1; --round) {
        l ^= p[round];
        r ^= feistel(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= p[1];
    l ^= p[0];
    left = l;
    right = r;
}

bool Encrypter::setKey(const uint8_t* key, size_t length) {
    keyed = false;
    std::memcpy(p, lumonet::initialP, sizeof p);
    std::memcpy(s, lumonet::initialS, sizeof s);
    if (key == nullptr || length < minKeyLength || length > maxKeyLength) return false;

    // The key bytes, cycled, are folded into the P-array four at a time.
    size_t next = 0;
    for (uint32_t& word : p) {
        uint32_t k = 0;
        for (int i = 0; i < 4; ++i) {
            k = k << 8 | key[next];
            next = (next + 1) % length;
        }
        word ^= k;
    }
    // Then the all-zero block is encrypted over and over, each result
    // replacing the next two subkeys.
    uint32_t l = 0, r = 0;
    for (int i = 0; i < 18; i += 2) {
        encryptBlock(l, r);
        p[i] = l;
        p[i + 1] = r;
    }
    for (auto& box : s) {
        for (int i = 0; i < 256; i += 2) {
            encryptBlock(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
    keyed = true;
    return true;
}

bool Encrypter::encryptEcb(uint8_t* data, size_t length) const {
    if (!keyed) return false;
    for (size_t at = 0; at + blockSize <= length; at += blockSize) {
        uint32_t l = loadBigEndian(data + at), r = loadBigEndian(data + at + 4);
        encryptBlock(l, r);
        storeBigEndian(l, data + at);
        storeBigEndian(r, data + at + 4);
    }
    return true;
}

bool Encrypter::decryptEcb(uint8_t* data, size_t length) const {
    if (!keyed) return false;
    for (size_t at = 0; at + blockSize <= length; at += blockSize) {
        uint32_t l = loadBigEndian(data + at), r = loadBigEndian(data + at + 4);
        decryptBlock(l, r);
        storeBigEndian(l, data + at);
        storeBigEndian(r, data + at + 4);
    }
    return true;
}

}  // namespace lumonet
