// The publisher's signing tool, run on the machine that keeps the private
// key (never the build machine):
//
//   sign_release keygen NAME PREFIX   makes a key pair: PREFIX.secret (the
//                                     private key, readable by its owner
//                                     only) and PREFIX.pub ("KEY NAME", the
//                                     line the updater's key list takes)
//   sign_release sign SECRET FOLDER   signs every file that FOLDER/manifest.txt
//                                     offers (its encoded name, build, size
//                                     and SHA-256) and writes the signatures
//                                     into the manifest
//
// Exit code 0 on success; a message on standard error otherwise.
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "updater/release_signature.h"
#include "updater/sha256.h"
#include "updater/signing/release_manifest.h"

using namespace updater;

namespace {

int fail(const std::string& message) {
    std::cerr << "sign_release: " << message << "\n";
    return 1;
}

bool readText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    text = all.str();
    return true;
}

bool writeText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

int keygen(const std::string& name, const std::string& prefix) {
    if (name.empty() || name.find_first_of(" \t\r\n") != std::string::npos)
        return fail("a key name is one word");
    PublicKeyBytes publicKey;
    SecretKeyBytes secretKey;
    if (!makeKeyPair(publicKey, secretKey)) return fail("no random source");
    const std::string secretPath = prefix + ".secret";
    // Made for its owner alone before the key goes in.
    std::FILE* created = std::fopen(secretPath.c_str(), "wx");
    if (!created) return fail(secretPath + " exists or cannot be made");
    std::fclose(created);
    chmod(secretPath.c_str(), 0600);
    if (!writeText(secretPath, toHex(secretKey.data(), 32) + "\n") ||
        !writeText(prefix + ".pub", toHex(publicKey.data(), publicKey.size()) + " " + name + "\n"))
        return fail("cannot write the key files");
    std::cout << "key " << keyId(publicKey) << " (" << name << "): " << prefix << ".pub, "
              << secretPath << "\n";
    return 0;
}

bool readSecretKey(const std::string& path, SecretKeyBytes& secretKey) {
    std::string text;
    if (!readText(path, text)) return false;
    std::array<uint8_t, 32> seed;
    PublicKeyBytes publicKey;
    return fromHex(text.substr(0, text.find_first_of("\r\n")), seed.data(), seed.size()) &&
           keyPairFromSeed(seed, publicKey, secretKey);
}

int sign(const std::string& secretPath, const std::string& folder) {
    SecretKeyBytes secretKey;
    if (!readSecretKey(secretPath, secretKey)) return fail("no private key in " + secretPath);
    const std::string manifestPath = folder + "/manifest.txt";
    std::string manifest;
    if (!readText(manifestPath, manifest)) return fail("cannot read " + manifestPath);
    std::istringstream lines(manifest);
    std::string out;
    int signedFiles = 0;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ManifestLine entry;
        if (readManifestLine(line, entry)) {
            std::string bytes;
            if (!readText(folder + "/" + entry.localName, bytes))
                return fail("the manifest offers " + entry.localName + ", which is not in " +
                            folder);
            const ReleaseFacts facts{entry.encodedName, entry.build, bytes.size(),
                                     sha256Hex(bytes)};
            std::string token;
            if (!signRelease(facts, secretKey, token)) return fail("signing failed");
            line = withSignature(line, token);
            ++signedFiles;
        }
        out += line + "\n";
    }
    if (!writeText(manifestPath + ".new", out) ||
        std::rename((manifestPath + ".new").c_str(), manifestPath.c_str()) != 0)
        return fail("cannot write " + manifestPath);
    std::cout << "signed " << signedFiles << " file(s) in " << manifestPath << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "keygen") return keygen(args[1], args[2]);
    if (args.size() == 3 && args[0] == "sign") return sign(args[1], args[2]);
    std::cerr << "usage: sign_release keygen NAME PREFIX\n"
                 "       sign_release sign SECRET-KEY-FILE RELEASE-FOLDER\n";
    return 2;
}
