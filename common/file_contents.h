// Whole files: bounded reads, complete writes and crash-safe replacement.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace win {

// At most `limit` bytes from the start of the file. False when it cannot be
// opened or read.
bool readFileBytes(const std::string& path, size_t limit, std::string& bytes);

// Writes every byte to an open file; false on a short or failed write.
bool writeAll(HANDLE file, const std::string& bytes);

// Gives `path` the new contents so that a crash or a full disk at any moment
// leaves either the old file or the complete new one: the bytes go to
// path + ".new", are flushed, and that file then replaces the old one in one
// move. On failure the partial file is removed and false returned.
bool replaceFileContents(const std::string& path, const std::string& bytes);

}  // namespace win
