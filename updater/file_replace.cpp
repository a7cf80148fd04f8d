#include "updater/file_replace.h"

#include <windows.h>

#include <vector>

#include "common/win_handles.h"
#include "updater/sha256.h"

namespace updater {

namespace {

const DWORD kChunk = 64 * 1024;

// Copies the open source into a new file at `to`, hashing as it goes; false
// (and no file) when a read, write or flush fails or, with a digest given,
// when the bytes are not those.
bool copyOpen(HANDLE source, const std::string& to, const unsigned long long* size,
              const std::string* sha256) {
    bool ok = false;
    {
        win::FileHandle target(CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!target) return false;
        Sha256 digest;
        unsigned long long copied = 0;
        std::vector<char> chunk(kChunk);
        for (;;) {
            DWORD got = 0, written = 0;
            if (!ReadFile(source, chunk.data(), kChunk, &got, nullptr)) break;
            if (got == 0) {
                ok = true;
                break;
            }
            copied += got;
            // More than the signed size: the file is not the one signed.
            if (size && copied > *size) break;
            digest.add(chunk.data(), got);
            if (!WriteFile(target.get(), chunk.data(), got, &written, nullptr) || written != got)
                break;
        }
        if (ok && size) ok = copied == *size && digest.hexDigest() == *sha256;
        ok = ok && FlushFileBuffers(target.get());
    }
    if (!ok) DeleteFileA(to.c_str());
    return ok;
}

bool copyFrom(const std::string& from, const std::string& to, const unsigned long long* size,
              const std::string* sha256) {
    // Nobody may change the source while it is copied.
    win::FileHandle source(CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    return source && copyOpen(source.get(), to, size, sha256);
}

}  // namespace

std::string stagedName(const std::string& target) {
    return target + ".new";
}

bool fileDigest(const std::string& path, unsigned long long& size, std::string& sha256) {
    win::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    Sha256 digest;
    size = 0;
    std::vector<char> chunk(kChunk);
    DWORD got = 0;
    while (ReadFile(file.get(), chunk.data(), kChunk, &got, nullptr)) {
        if (got == 0) {
            sha256 = digest.hexDigest();
            return true;
        }
        size += got;
        digest.add(chunk.data(), got);
    }
    return false;
}

bool fileMatches(const std::string& path, unsigned long long size, const std::string& sha256) {
    unsigned long long actualSize = 0;
    std::string actual;
    return fileDigest(path, actualSize, actual) && actualSize == size && actual == sha256;
}

bool copyFlushed(const std::string& from, const std::string& to) {
    return copyFrom(from, to, nullptr, nullptr);
}

bool copyChecked(const std::string& from, const std::string& to, unsigned long long size,
                 const std::string& sha256) {
    return copyFrom(from, to, &size, &sha256);
}

bool moveOver(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool replaceWithCopy(const std::string& from, const std::string& to) {
    const std::string staged = stagedName(to);
    if (!copyFlushed(from, staged)) return false;
    if (moveOver(staged, to)) return true;
    DeleteFileA(staged.c_str());
    return false;
}

bool writeFileAtomically(const std::string& path, const std::string& text) {
    const std::string staged = stagedName(path);
    bool written = false;
    {
        win::FileHandle file(CreateFileA(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD count = 0;
        written =
            file &&
            WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &count, nullptr) &&
            count == text.size() && FlushFileBuffers(file.get());
    }
    if (written && moveOver(staged, path)) return true;
    DeleteFileA(staged.c_str());
    return false;
}

}  // namespace updater
