#include "updater/tests/support/test_release.h"

#include <array>

#include "updater/sha256.h"

namespace testing_support {

namespace {

std::string signWithSeed(const std::string& seedHex, const updater::ReleaseFacts& facts) {
    std::array<uint8_t, 32> seed{};
    updater::PublicKeyBytes publicKey;
    updater::SecretKeyBytes secretKey;
    std::string token;
    if (!updater::fromHex(seedHex, seed.data(), seed.size()) ||
        !updater::keyPairFromSeed(seed, publicKey, secretKey) ||
        !updater::signRelease(facts, secretKey, token))
        return "ed25519:unsigned";
    return token;
}

}  // namespace

std::string testKeySignature(const updater::ReleaseFacts& facts) {
    return signWithSeed(MENDORA_TEST_KEY_SEED, facts);
}

std::string unknownKeySignature(const updater::ReleaseFacts& facts) {
    return signWithSeed(std::string(64, '7'), facts);
}

updater::ReleaseFacts factsOf(const std::string& encodedName, const std::string& build,
                              const std::string& bytes) {
    return updater::ReleaseFacts{encodedName, build, bytes.size(), updater::sha256Hex(bytes)};
}

std::string signedOffer(const std::string& encodedName, const std::string& build,
                        const std::string& bytes, const std::string& localName) {
    return encodedName + " " + build + " local=" + (localName.empty() ? encodedName : localName) +
           " signature=" + testKeySignature(factsOf(encodedName, build, bytes));
}

}  // namespace testing_support
