// The digest against the published SHA-256 test vectors (FIPS 180-4
// examples), whole and fed in pieces that cross the 64-byte blocks.
#include "updater/sha256.h"

#include <gtest/gtest.h>

#include <string>

using updater::Sha256;
using updater::sha256Hex;

namespace {

TEST(Sha256, PublishedVectors) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // 448 bits: the length no longer fits the first block's padding.
    EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(sha256Hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnop"
                        "jklmnopqklmnopqrlmnopqrsmnopqrstnopqrstu"),
              "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
}

TEST(Sha256, AMillionLettersFedInUnevenPieces) {
    const std::string piece(997, 'a');
    Sha256 digest;
    size_t fed = 0;
    for (; fed + piece.size() <= 1000000; fed += piece.size())
        digest.add(piece.data(), piece.size());
    digest.add(piece.data(), 1000000 - fed);
    EXPECT_EQ(digest.hexDigest(),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
