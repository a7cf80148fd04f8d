// Copies and replacements of program files that a crash or a power cut
// cannot leave half done: a new copy is written beside its target, flushed,
// and takes the target's place in one step.
#pragma once

#include <string>

namespace updater {

// The name a file's replacement is staged under, beside it.
std::string stagedName(const std::string& target);

// The file's size and SHA-256 (lower-case hex); false when it cannot be read.
bool fileDigest(const std::string& path, unsigned long long& size, std::string& sha256);

// Whether the file has exactly this size and SHA-256 (lower-case hex).
bool fileMatches(const std::string& path, unsigned long long size, const std::string& sha256);

// Copies `from` to `to` and flushes the copy to the disk. With a digest, the
// bytes copied must have that size and SHA-256 (the bytes are checked as they
// are copied, so the copy is the file that was checked); otherwise, or on any
// failure, no copy is left.
bool copyFlushed(const std::string& from, const std::string& to);
bool copyChecked(const std::string& from, const std::string& to, unsigned long long size,
                 const std::string& sha256);

// Moves `from` over `to` in one step, written through to the disk.
bool moveOver(const std::string& from, const std::string& to);

// Puts a flushed copy of `from` in place of `to`: staged beside `to`, then
// moved over it.
bool replaceWithCopy(const std::string& from, const std::string& to);

// Writes a small file whole or not at all.
bool writeFileAtomically(const std::string& path, const std::string& text);

}  // namespace updater
