#include "updater/release_signature.h"

#include <sodium.h>

namespace updater {

namespace {

const char kTokenTag[] = "ed25519:";

bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string toHex(const uint8_t* bytes, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    for (size_t i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

bool fromHex(const std::string& text, uint8_t* bytes, size_t size) {
    if (text.size() != size * 2) return false;
    for (size_t i = 0; i < size; ++i) {
        const int high = hexValue(text[2 * i]), low = hexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return false;
        bytes[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return true;
}

std::string signedText(const ReleaseFacts& facts) {
    return "Mendora update signature 1\nname=" + facts.encodedName + "\nbuild=" + facts.build +
           "\nsize=" + std::to_string(facts.size) + "\nsha256=" + facts.sha256 + "\n";
}

std::string keyId(const PublicKeyBytes& key) {
    return toHex(key.data(), 8);
}

std::string formatSignatureToken(const SignatureToken& token) {
    return kTokenTag + token.keyId + ":" + toHex(token.signature.data(), token.signature.size());
}

bool parseSignatureToken(const std::string& text, SignatureToken& token) {
    const size_t tag = sizeof kTokenTag - 1;
    if (text.compare(0, tag, kTokenTag) != 0 || text.size() != tag + 16 + 1 + 128 ||
        text[tag + 16] != ':')
        return false;
    uint8_t id[8];
    if (!fromHex(text.substr(tag, 16), id, sizeof id) ||
        !fromHex(text.substr(tag + 17), token.signature.data(), token.signature.size()))
        return false;
    token.keyId = toHex(id, sizeof id);
    return true;
}

SignatureVerdict verifyRelease(const ReleaseFacts& facts,
                               const std::vector<SignatureToken>& signatures,
                               const std::vector<PublisherKey>& keys, std::string* signer) {
    if (signatures.empty()) return SignatureVerdict::Unsigned;
    if (!sodiumReady()) return SignatureVerdict::Mismatch;
    const std::string text = signedText(facts);
    bool known = false;
    for (const SignatureToken& token : signatures)
        for (const PublisherKey& key : keys) {
            if (keyId(key.key) != token.keyId) continue;
            known = true;
            if (crypto_sign_verify_detached(token.signature.data(),
                                            reinterpret_cast<const unsigned char*>(text.data()),
                                            text.size(), key.key.data()) == 0) {
                if (signer) *signer = key.name;
                return SignatureVerdict::Valid;
            }
        }
    return known ? SignatureVerdict::Mismatch : SignatureVerdict::UnknownKey;
}

bool makeKeyPair(PublicKeyBytes& publicKey, SecretKeyBytes& secretKey) {
    return sodiumReady() && crypto_sign_keypair(publicKey.data(), secretKey.data()) == 0;
}

bool keyPairFromSeed(const std::array<uint8_t, 32>& seed, PublicKeyBytes& publicKey,
                     SecretKeyBytes& secretKey) {
    return sodiumReady() &&
           crypto_sign_seed_keypair(publicKey.data(), secretKey.data(), seed.data()) == 0;
}

bool signRelease(const ReleaseFacts& facts, const SecretKeyBytes& secretKey, std::string& token) {
    if (!sodiumReady()) return false;
    const std::string text = signedText(facts);
    SignatureToken signature;
    if (crypto_sign_detached(signature.signature.data(), nullptr,
                             reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                             secretKey.data()) != 0)
        return false;
    PublicKeyBytes publicKey;
    crypto_sign_ed25519_sk_to_pk(publicKey.data(), secretKey.data());
    signature.keyId = keyId(publicKey);
    token = formatSignatureToken(signature);
    return true;
}

}  // namespace updater
