#include "repair/byte_writer.h"

namespace sysrepair {

void ByteWriter::putBytes(const void* data, size_t count) {
    if (count) bytes_.append(static_cast<const char*>(data), count);
}

void ByteWriter::putU16(uint16_t value) {
    const char b[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    bytes_.append(b, sizeof b);
}

void ByteWriter::putU32(uint32_t value) {
    const char b[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                       static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
    bytes_.append(b, sizeof b);
}

bool ByteWriter::putString(const std::string& text) {
    if (text.size() > kMaxStoredText) return false;
    putU16(static_cast<uint16_t>(text.size()));
    putBytes(text.data(), text.size());
    return true;
}

void ByteWriter::patchU32(size_t offset, uint32_t value) {
    if (offset + 4 > bytes_.size()) return;
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace sysrepair
