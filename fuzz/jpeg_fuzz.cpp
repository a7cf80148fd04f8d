// JPEG pictures as the skin decoder reads them.
#include <cstddef>
#include <cstdint>

#include "shell/skin/jpeg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    skin::BgrImage image;
    if (skin::decodeJpeg(data, size, image) &&
        image.pixels.size() != image.rowBytes() * static_cast<size_t>(image.height))
        __builtin_trap();
    return 0;
}
