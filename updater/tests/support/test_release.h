// Updates offered by the update server that ctest runs around a test
// program, signed by the test key (updater/keys/test-publisher.*), which the
// updater of test builds accepts, or by a key it does not know.
#pragma once

#include <string>

#include "updater/release_signature.h"

namespace testing_support {

// The signature token of the facts: by the test key, or by a key the updater
// does not hold.
std::string testKeySignature(const updater::ReleaseFacts& facts);
std::string unknownKeySignature(const updater::ReleaseFacts& facts);

// The facts of a file offered as `build` of `encodedName` with these bytes.
updater::ReleaseFacts factsOf(const std::string& encodedName, const std::string& build,
                              const std::string& bytes);

// A manifest line that offers the bytes (which the test writes into the
// served folder under the local name) as `build`, signed by the test key:
// "NAME BUILD local=LOCAL signature=TOKEN".
std::string signedOffer(const std::string& encodedName, const std::string& build,
                        const std::string& bytes, const std::string& localName = std::string());

}  // namespace testing_support
