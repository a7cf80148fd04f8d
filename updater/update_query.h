// The update server's queries and its list answer, as texts. Pure.
#pragma once

#include <string>
#include <vector>

#include "updater/release_signature.h"

namespace updater {

enum class QueryMode { Check, List };

// base + "?mode=check&app=" (or "?mode=list&app=") + app + "&ver=" + ver +
// "&file=" + file + "&build=" + build, the values as they are, except that
// the first blank of the query part becomes "+".
std::string queryAddress(const std::string& base, QueryMode mode, const std::string& app,
                         const std::string& ver, const std::string& file, const std::string& build);

// The fields of a list answer that the updater uses.
struct ListAnswer {
    std::string newBuild;         // field 3
    std::string localName;        // field 4
    std::string downloadAddress;  // everything after the fourth comma
    // Fields 1 and 2, when the server names the file's size in bytes (decimal)
    // and its SHA-256 (64 hexadecimal digits) there: the download must match.
    bool checked = false;
    unsigned long long size = 0;
    std::string sha256;  // lower case
    // The publisher's signatures, after the digest in field 2, each after a
    // ";" (see release_signature.h); tokens that are not well formed are left
    // out.
    std::vector<SignatureToken> signatures;
};

// Cuts the answer at its commas: the third field, the fourth, and the rest
// after the fourth comma, commas included. A comma as the last character is
// not counted. With fewer commas the missing fields start at the beginning
// (a field whose start is not found starts at position 1). The first two
// fields count only when they are a size and a digest (with the signatures
// that follow the digest).
ListAnswer parseListAnswer(const std::string& answer);

}  // namespace updater
