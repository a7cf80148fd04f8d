// The publisher's signatures over the files it offers: Ed25519 (through
// libsodium) over a text that names everything an install depends on. Pure.
//
// A signature travels as a token "ed25519:KEYID:SIGNATURE", where KEYID is
// the first 8 bytes of the signing key and SIGNATURE the 64-byte signature,
// both in lower-case hexadecimal: no comma, no blank, so that it fits into
// a free field of the list answer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace updater {

// What a signature vouches for: the file (its encoded name), the build it
// is, and its exact bytes (size and SHA-256 as 64 lower-case hex digits).
struct ReleaseFacts {
    std::string encodedName;
    std::string build;
    unsigned long long size = 0;
    std::string sha256;
};

using PublicKeyBytes = std::array<uint8_t, 32>;
// libsodium's secret key: the 32-byte seed followed by the public key.
using SecretKeyBytes = std::array<uint8_t, 64>;

struct PublisherKey {
    std::string name;
    PublicKeyBytes key{};
};

struct SignatureToken {
    std::string keyId;  // 16 lower-case hex digits
    std::array<uint8_t, 64> signature{};
};

enum class SignatureVerdict {
    Valid,       // a known key signed exactly these facts
    Unsigned,    // no signature at all
    UnknownKey,  // signed only by keys the updater does not hold
    Mismatch,    // a known key's signature that does not cover these facts
};

// The text that is signed; one line per fact, after a fixed first line that
// keeps these signatures from meaning anything elsewhere.
std::string signedText(const ReleaseFacts& facts);

std::string keyId(const PublicKeyBytes& key);
std::string formatSignatureToken(const SignatureToken& token);
// False for anything but one well-formed token.
bool parseSignatureToken(const std::string& text, SignatureToken& token);

// Whether one of the keys signed the facts; `signer` (may be null) gets the
// name of the key whose signature holds.
SignatureVerdict verifyRelease(const ReleaseFacts& facts,
                               const std::vector<SignatureToken>& signatures,
                               const std::vector<PublisherKey>& keys, std::string* signer);

// The publisher's side: a key pair from 32 random bytes (or a given seed),
// and the token that signs the facts.
bool makeKeyPair(PublicKeyBytes& publicKey, SecretKeyBytes& secretKey);
bool keyPairFromSeed(const std::array<uint8_t, 32>& seed, PublicKeyBytes& publicKey,
                     SecretKeyBytes& secretKey);
bool signRelease(const ReleaseFacts& facts, const SecretKeyBytes& secretKey, std::string& token);

// Lower-case hexadecimal, and back (false unless the text is exactly
// 2 * size hex digits).
std::string toHex(const uint8_t* bytes, size_t size);
bool fromHex(const std::string& text, uint8_t* bytes, size_t size);

}  // namespace updater
