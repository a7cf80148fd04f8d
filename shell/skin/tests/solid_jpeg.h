// Small JPEG pictures for the decoder's tests, made with libjpeg's own
// encoder. Portable.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace skin_testing {

// A JPEG of the given size in one colour (red, green, blue), made with the
// library's own encoder.
inline std::vector<unsigned char> encodeSolid(int width, int height, unsigned char r,
                                              unsigned char g, unsigned char b, bool grey = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * info.input_components);
    for (int x = 0; x < width; ++x) {
        if (grey) {
            row[x] = r;
        } else {
            row[x * 3] = r;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = b;
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> data(buffer, buffer + size);
    free(buffer);
    return data;
}

inline bool closeTo(int a, int b) {
    return std::abs(a - b) <= 3;
}

}  // namespace skin_testing
