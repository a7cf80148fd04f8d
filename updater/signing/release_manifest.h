// The update server's manifest as the publisher signs it: one line per
// offered file, "ENCODED-NAME BUILD [LOCAL-NAME] [OPTION...]" (see
// updater/server/update_server.py). Pure.
#pragma once

#include <string>

namespace updater {

// The parts of a manifest line that a signature covers, and the file the
// server hands out for it (relative to the manifest's folder).
struct ManifestLine {
    std::string encodedName;
    std::string build;
    std::string localName;
};

// False for blank lines, comments and lines without a build.
bool readManifestLine(const std::string& line, ManifestLine& entry);

// The line with the token as its signature: a signature by the same key is
// replaced, signatures by other keys stay (so that a file can carry the
// signatures of an old and a new key while keys change). An "answer=" option
// stays the last one.
std::string withSignature(const std::string& line, const std::string& token);

}  // namespace updater
