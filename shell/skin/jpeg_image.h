// Decoding of JPEG pictures into plain pixel rows, through libjpeg. Portable:
// no Win32.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace skin {

// Pictures larger than this on either side are refused before anything is
// allocated; the skin's pictures are a few hundred pixels wide.
constexpr int kMaxJpegSide = 8192;

// Rows top to bottom, three bytes per pixel in the order blue, green, red (the
// order of a 24-bit Windows bitmap), no padding between rows.
struct BgrImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;

    size_t rowBytes() const { return static_cast<size_t>(width) * 3; }
};

// Decodes a whole JPEG held in memory. False, with `error` saying why, when
// the data is no JPEG, is damaged or cut short, has a colour model other than
// grey or colour, or is larger than `maxSide` (at most kMaxJpegSide) on either
// side; `out` is then left empty.
bool decodeJpeg(const unsigned char* data, size_t size, BgrImage& out, std::string* error = nullptr,
                int maxSide = kMaxJpegSide);

}  // namespace skin
