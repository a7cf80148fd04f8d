#include "updater/signing/release_manifest.h"

#include <sstream>
#include <vector>

namespace updater {

namespace {

const char kAnswerOption[] = " answer=";
const char kSignatureOption[] = "signature=";
// "signature=ed25519:" and the 16 digits of the key id.
const size_t kSignatureKeyEnd = sizeof kSignatureOption - 1 + 8 + 16;

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

}  // namespace

bool readManifestLine(const std::string& line, ManifestLine& entry) {
    if (line.empty() || line[0] == '#') return false;
    const std::vector<std::string> w = words(line.substr(0, line.find(kAnswerOption)));
    if (w.size() < 2) return false;
    entry = ManifestLine{w[0], w[1], w[0]};
    for (size_t i = 2; i < w.size(); ++i) {
        const size_t equals = w[i].find('=');
        if (equals == std::string::npos)
            entry.localName = w[i];
        else if (w[i].compare(0, equals, "local") == 0)
            entry.localName = w[i].substr(equals + 1);
    }
    return true;
}

std::string withSignature(const std::string& line, const std::string& token) {
    const size_t answer = line.find(kAnswerOption);
    const std::string head = line.substr(0, answer);
    const std::string tail = answer == std::string::npos ? std::string() : line.substr(answer);
    const std::string option = kSignatureOption + token;
    std::string out;
    for (const std::string& word : words(head)) {
        // The same key's earlier signature goes.
        if (word.size() >= kSignatureKeyEnd && option.size() >= kSignatureKeyEnd &&
            word.compare(0, kSignatureKeyEnd, option, 0, kSignatureKeyEnd) == 0)
            continue;
        out += (out.empty() ? "" : " ") + word;
    }
    return out + " " + option + tail;
}

}  // namespace updater
