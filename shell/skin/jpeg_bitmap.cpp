#include "shell/skin/jpeg_bitmap.h"

#include <cstring>

namespace skin {

win::Bitmap bitmapFromImage(const BgrImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < image.rowBytes() * image.height)
        return win::Bitmap();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down, like the decoded rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return win::Bitmap();
    // Rows of a DIB are padded to four bytes.
    const size_t stride = (image.rowBytes() + 3) & ~static_cast<size_t>(3);
    auto* target = static_cast<unsigned char*>(bits);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(target + stride * y, image.pixels.data() + image.rowBytes() * y,
                    image.rowBytes());
    GdiFlush();
    return bitmap;
}

win::Bitmap bitmapFromJpeg(const unsigned char* data, size_t size) {
    BgrImage image;
    if (!decodeJpeg(data, size, image)) return win::Bitmap();
    return bitmapFromImage(image);
}

win::Bitmap loadJpegResource(const char* name, HMODULE module) {
    if (!module) module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found) return win::Bitmap();
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0) return win::Bitmap();
    // Resources stay mapped with the module; nothing to free.
    return bitmapFromJpeg(static_cast<const unsigned char*>(data), size);
}

win::Bitmap copyBitmap(HBITMAP bitmap) {
    if (!bitmap) return win::Bitmap();
    return win::Bitmap(
        static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

}  // namespace skin
