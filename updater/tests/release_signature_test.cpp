// The publisher's signatures: the library against RFC 8032's known answers,
// and the updater's verdicts on what a server may send.
#include "updater/release_signature.h"

#include <gtest/gtest.h>
#include <sodium.h>

#include <array>
#include <string>
#include <vector>

#include "updater/install_journal.h"
#include "updater/update_query.h"

namespace updater {
namespace {

std::vector<uint8_t> bytes(const std::string& hex) {
    std::vector<uint8_t> out(hex.size() / 2);
    EXPECT_TRUE(fromHex(hex, out.data(), out.size())) << hex;
    return out;
}

TEST(ReleaseSignature, Rfc8032KnownAnswers) {
    struct Vector {
        const char* seed;
        const char* publicKey;
        const char* message;
        const char* signature;
    };
    const Vector vectors[] = {
        {"9d61b19deffd5a60ba844af492ec2cc44449c5697b326919703bac031cae7f60",
         "d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a", "",
         "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e06522490155"
         "5fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe24655141438e7a100b"},
        {"4ccd089b28ff96da9db6c346ec114e0f5b8a319f35aba624da8cf6ed4fb8a6fb",
         "3d4017c3e843895a92b70aa74d1b7ebc9c982ccf2ec4968cc0cd55f12af4660c", "72",
         "92a009a9f0d4cab8720e820b5f642540a2b27b5416503f8fb3762223ebdb69da"
         "085ac1e43e15996e458f3613d0f11d8c387b2eaeb4302aeeb00d291612bb0c00"},
        {"c5aa8df43f9f837bedb7442f31dcb7b166d38535076f094b85ce3a2e0b4458f7",
         "fc51cd8e6218a1a38da47ed00230f0580816ed13ba3303ac5deb911548908025", "af82",
         "6291d657deec24024827e69c3abe01a30ce548a284743a445e3680d7db5ac3ac"
         "18ff9b538d16f290ae67f760984dc6594a7c15e9716ed28dc027beceea1ec40a"},
    };
    for (const Vector& v : vectors) {
        std::array<uint8_t, 32> seed;
        ASSERT_TRUE(fromHex(v.seed, seed.data(), seed.size()));
        PublicKeyBytes publicKey;
        SecretKeyBytes secretKey;
        ASSERT_TRUE(keyPairFromSeed(seed, publicKey, secretKey));
        EXPECT_EQ(toHex(publicKey.data(), publicKey.size()), v.publicKey);
        const std::vector<uint8_t> message = bytes(v.message);
        std::array<uint8_t, 64> signature;
        crypto_sign_detached(signature.data(), nullptr, message.data(), message.size(),
                             secretKey.data());
        EXPECT_EQ(toHex(signature.data(), signature.size()), v.signature);
        EXPECT_EQ(crypto_sign_verify_detached(signature.data(), message.data(), message.size(),
                                              publicKey.data()),
                  0);
        signature[7] ^= 1;
        EXPECT_NE(crypto_sign_verify_detached(signature.data(), message.data(), message.size(),
                                              publicKey.data()),
                  0);
    }
}

TEST(ReleaseSignature, OnlyAKnownKeysSignatureOverTheseExactFactsHolds) {
    std::array<uint8_t, 32> seed{}, otherSeed{};
    seed.fill(1);
    otherSeed.fill(2);
    PublicKeyBytes publicKey, otherPublic;
    SecretKeyBytes secretKey, otherSecret;
    ASSERT_TRUE(keyPairFromSeed(seed, publicKey, secretKey));
    ASSERT_TRUE(keyPairFromSeed(otherSeed, otherPublic, otherSecret));
    const std::vector<PublisherKey> keys = {{"old", otherPublic}, {"current", publicKey}};
    const ReleaseFacts facts{"+~tools~x.dll", "1.0.0.8", 1867293,
                             "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08"};
    std::string token, otherToken;
    ASSERT_TRUE(signRelease(facts, secretKey, token));
    ASSERT_TRUE(signRelease(facts, otherSecret, otherToken));

    // The token travels in the digest field of the list answer.
    const ListAnswer answer = parseListAnswer("1867293," + facts.sha256 + ";" + token +
                                              ";junk,1.0.0.8,x.dll,http://h/x.dll");
    ASSERT_TRUE(answer.checked);
    EXPECT_EQ(answer.sha256, facts.sha256);
    ASSERT_EQ(answer.signatures.size(), 1u);
    std::string signer;
    EXPECT_EQ(verifyRelease(facts, answer.signatures, keys, &signer), SignatureVerdict::Valid);
    EXPECT_EQ(signer, "current");

    // Each fact the signature covers, changed.
    for (int field = 0; field < 4; ++field) {
        ReleaseFacts changed = facts;
        if (field == 0) changed.encodedName = "Mendora.exe";
        if (field == 1) changed.build = "1.0.0.9";
        if (field == 2) changed.size += 1;
        if (field == 3) changed.sha256[0] = '0';
        EXPECT_EQ(verifyRelease(changed, answer.signatures, keys, nullptr),
                  SignatureVerdict::Mismatch)
            << field;
    }
    EXPECT_EQ(verifyRelease(facts, {}, keys, nullptr), SignatureVerdict::Unsigned);
    // Signed by a key the updater does not hold; then with it held as well.
    SignatureToken other;
    ASSERT_TRUE(parseSignatureToken(otherToken, other));
    const std::vector<PublisherKey> currentOnly = {{"current", publicKey}};
    EXPECT_EQ(verifyRelease(facts, {other}, currentOnly, nullptr), SignatureVerdict::UnknownKey);
    EXPECT_EQ(verifyRelease(facts, {other}, keys, &signer), SignatureVerdict::Valid);
    EXPECT_EQ(signer, "old");

    // Malformed tokens are no signatures.
    SignatureToken parsed;
    EXPECT_FALSE(parseSignatureToken(token.substr(0, token.size() - 1), parsed));
    EXPECT_FALSE(
        parseSignatureToken("ed25519:" + token.substr(8, 16) + "," + token.substr(25), parsed));
    EXPECT_FALSE(parseSignatureToken(token + "0", parsed));
}

TEST(InstallJournal, ReadsBackWhatWasWrittenAndNothingCutShort) {
    InstallJournal journal;
    journal.phase = InstallJournal::Phase::Replacing;
    journal.files.push_back({"+~tools~x.dll", "x.dll", "1.0 beta", "2", 12, std::string(64, 'a')});
    journal.files.push_back({"Mendora.exe", "m.exe", "", "1.0.0.8", 0, std::string(64, '0')});
    const std::string text = formatJournal(journal);
    InstallJournal read;
    ASSERT_TRUE(parseJournal(text, read));
    EXPECT_EQ(read.phase, InstallJournal::Phase::Replacing);
    ASSERT_EQ(read.files.size(), 2u);
    EXPECT_EQ(read.files[0].oldBuild, "1.0 beta");
    EXPECT_EQ(read.files[1].oldBuild, "");
    EXPECT_EQ(read.files[0].size, 12u);
    // Any cut, and a tab inside a field, leave no journal.
    for (size_t cut = 0; cut < text.size(); ++cut)
        EXPECT_FALSE(parseJournal(text.substr(0, cut), read)) << cut;
    EXPECT_FALSE(fitsJournal("a\tb"));
}

}  // namespace
}  // namespace updater
