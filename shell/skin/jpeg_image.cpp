#include "shell/skin/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <limits>

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace skin {

namespace {

// libjpeg's default error handler ends the process. Ours jumps back to the
// decoder, which reports the failure.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void failDecode(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    info->err->format_message(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings are dropped, except that data cut short is a failure: libjpeg would
// fill the missing rows with grey and call it a success.
void emitMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) failDecode(info);
    if (level < 0) ++info->err->num_warnings;
}

void dropMessage(j_common_ptr) {}

bool fail(std::string* error, const char* text) {
    if (error) *error = text;
    return false;
}

}  // namespace

bool decodeJpeg(const unsigned char* data, size_t size, BgrImage& out, std::string* error,
                int maxSide) {
    out = BgrImage();
    if (!data || size < 4) return fail(error, "no JPEG data");
    if (size > std::numeric_limits<unsigned long>::max()) return fail(error, "JPEG data too large");

    // Everything with a destructor lives in this frame, above the jump target,
    // so the jump from libjpeg's frames back here skips no destructor.
    BgrImage image;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = failDecode;
    errors.base.emit_message = emitMessage;
    errors.base.output_message = dropMessage;
    errors.message[0] = '\0';

    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (error) *error = errors.message;
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const JDIMENSION largest =
        static_cast<JDIMENSION>(maxSide < kMaxJpegSide ? maxSide : kMaxJpegSide);
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > largest ||
        info.image_height > largest) {
        jpeg_destroy_decompress(&info);
        return fail(error, "JPEG picture too large");
    }
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_YCbCr &&
        info.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&info);
        return fail(error, "JPEG colour model not supported");
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.pixels.resize(image.rowBytes() * image.height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.pixels.data() + image.rowBytes() * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    out = std::move(image);
    return true;
}

}  // namespace skin
