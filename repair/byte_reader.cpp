#include "repair/byte_reader.h"

#include <cstring>

namespace sysrepair {

bool ByteReader::readBytes(void* out, size_t count) {
    if (count > remaining()) return false;
    if (count) std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
}

bool ByteReader::readU16(uint16_t& value) {
    unsigned char b[2];
    if (!readBytes(b, sizeof b)) return false;
    value = static_cast<uint16_t>(b[0] | (b[1] << 8));
    return true;
}

bool ByteReader::readU32(uint32_t& value) {
    unsigned char b[4];
    if (!readBytes(b, sizeof b)) return false;
    value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
            (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

bool ByteReader::readI32(int32_t& value) {
    uint32_t u;
    if (!readU32(u)) return false;
    value = static_cast<int32_t>(u);
    return true;
}

bool ByteReader::readString(std::string& text) {
    const size_t start = pos_;
    uint16_t raw;
    if (!readU16(raw)) return false;
    const int16_t length = static_cast<int16_t>(raw);
    if (length < 0 || static_cast<size_t>(length) > remaining()) {
        pos_ = start;
        return false;
    }
    text.assign(data_ + pos_, static_cast<size_t>(length));
    pos_ += static_cast<size_t>(length);
    return true;
}

bool ByteReader::readBlock(size_t count, std::vector<unsigned char>& out) {
    if (count > remaining()) return false;
    const auto* begin = reinterpret_cast<const unsigned char*>(data_ + pos_);
    out.assign(begin, begin + count);
    pos_ += count;
    return true;
}

}  // namespace sysrepair
