// Reads the little-endian, unpadded records of the backup files from a byte
// buffer. Every read checks the bytes left first, so a truncated or damaged
// file can never make a reader run past its end or allocate from a length it
// has not checked. Portable: no Win32.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sysrepair {

class ByteReader {
public:
    ByteReader(const char* data, size_t size) : data_(data), size_(size) {}
    explicit ByteReader(const std::string& bytes) : ByteReader(bytes.data(), bytes.size()) {}

    size_t remaining() const { return size_ - pos_; }

    // Each returns false, and leaves the position alone, when the bytes are
    // not there or the length read is negative.
    bool readBytes(void* out, size_t count);
    bool readU16(uint16_t& value);
    bool readU32(uint32_t& value);
    bool readI32(int32_t& value);
    // A signed 16-bit byte count followed by that many bytes.
    bool readString(std::string& text);
    // `count` bytes into `out`, checked against the bytes left before any
    // allocation.
    bool readBlock(size_t count, std::vector<unsigned char>& out);

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace sysrepair
