#include "chat/client/client_details.h"

#include <cstdint>
#include <vector>

#include "chat/encrypter.h"

namespace chatclient {

namespace {

const char kKey[] = "kestrelmoonfieldarch";

// The key schedule is made once: it costs far more than a file's blocks.
const lumonet::Encrypter& detailsCipher() {
    static const lumonet::Encrypter cipher = [] {
        lumonet::Encrypter keyed;
        keyed.setKey(reinterpret_cast<const uint8_t*>(kKey), sizeof kKey - 1);
        return keyed;
    }();
    return cipher;
}

bool isWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isWhiteSpace(text[at])) ++at;
        const size_t start = at;
        while (at < text.size() && !isWhiteSpace(text[at])) ++at;
        if (at > start) out.push_back(text.substr(start, at - start));
    }
    return out;
}

}  // namespace

std::string encodeClientDetails(const ClientDetails& details) {
    std::string plain;
    for (const std::string* text : {&details.name, &details.email, &details.server, &details.port})
        plain += text->substr(0, kStoredTextLimit) + " ";
    plain += "1 1 ";
    const size_t length = plain.size() - plain.size() % 8 + 8;
    std::vector<uint8_t> block(plain.begin(), plain.end());
    block.resize(length, 0);
    detailsCipher().encryptEcb(block.data(), block.size());
    std::string file(1, static_cast<char>(length));
    file.append(block.begin(), block.end());
    return file;
}

bool decodeClientDetails(const std::string& bytes, ClientDetails& details) {
    if (bytes.empty()) return false;
    const size_t length = static_cast<uint8_t>(bytes[0]);
    if (length == 0 || length % 8 != 0 || bytes.size() < 1 + length) return false;
    std::vector<uint8_t> block(bytes.begin() + 1, bytes.begin() + 1 + length);
    detailsCipher().decryptEcb(block.data(), block.size());
    std::string text(block.begin(), block.end());
    text = text.substr(0, text.find('\0'));
    const std::vector<std::string> read = words(text);
    ClientDetails loaded = details;
    if (read.size() > 0) loaded.name = read[0];
    if (read.size() > 1 && read[1] != "@") loaded.email = read[1];
    if (read.size() > 2) loaded.server = read[2];
    if (read.size() > 3) loaded.port = read[3];
    details = loaded;
    return true;
}

}  // namespace chatclient
