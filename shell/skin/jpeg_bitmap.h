// JPEG pictures as Windows bitmaps: from memory or from a resource of the
// program (the skin's pictures are RCDATA resources named in skin_art.h).
#pragma once

#include <windows.h>

#include <cstddef>

#include "common/win_handles.h"
#include "shell/skin/jpeg_image.h"

namespace skin {

// A 24-bit top-down DIB section holding the image; empty on failure.
win::Bitmap bitmapFromImage(const BgrImage& image);
// Empty when the data does not decode.
win::Bitmap bitmapFromJpeg(const unsigned char* data, size_t size);
// Decodes the RCDATA resource of that name in the module (none: the program
// itself). Empty when there is no such resource or it does not decode.
win::Bitmap loadJpegResource(const char* name, HMODULE module = nullptr);

// A copy of any bitmap as a DIB section of its own; empty for none.
win::Bitmap copyBitmap(HBITMAP bitmap);

}  // namespace skin
