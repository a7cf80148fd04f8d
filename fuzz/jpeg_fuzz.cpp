// JPEG pictures as the skin decoder reads them.
#include <cstddef>
#include <cstdint>

#include "shell/skin/jpeg_image.h"

// The skin's largest picture is 733 x 553. Larger declared sizes run the same
// code over more pixels: a file of a few hundred bytes can declare a
// 5,000-row progressive picture that takes seconds to fill, which would spend
// the run on pixel volume instead of on the parser's paths.
constexpr int kFuzzMaxSide = 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    skin::BgrImage image;
    if (skin::decodeJpeg(data, size, image, nullptr, kFuzzMaxSide) &&
        image.pixels.size() != image.rowBytes() * static_cast<size_t>(image.height))
        __builtin_trap();
    return 0;
}
