// Builds the little-endian, unpadded records of the backup files in memory.
// Portable: no Win32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sysrepair {

// The longest text a 16-bit signed byte count can describe.
constexpr size_t kMaxStoredText = 32767;

class ByteWriter {
public:
    void putBytes(const void* data, size_t count);
    void putU16(uint16_t value);
    void putU32(uint32_t value);
    void putI32(int32_t value) { putU32(static_cast<uint32_t>(value)); }
    // A signed 16-bit byte count and the bytes. A text longer than
    // kMaxStoredText is refused (false, nothing written) rather than stored
    // with a wrapped count that would corrupt everything after it.
    bool putString(const std::string& text);
    // Overwrites four bytes already written, for counts known only at the end.
    void patchU32(size_t offset, uint32_t value);

    size_t size() const { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }
    void append(const ByteWriter& other) { bytes_ += other.bytes_; }

private:
    std::string bytes_;
};

}  // namespace sysrepair
