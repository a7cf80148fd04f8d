#include "common/ui/greyed_picture.h"

#include <cstdint>

#include "common/ui/scaled_bitmap.h"
#include "common/win_handles.h"

namespace ui {

namespace {

// Brightness kept at half its range and lifted into the upper half: the
// shapes stay readable, the colour and the contrast go.
uint32_t greyed(uint32_t pixel) {
    const uint32_t blue = pixel & 0xFF;
    const uint32_t green = (pixel >> 8) & 0xFF;
    const uint32_t red = (pixel >> 16) & 0xFF;
    const uint32_t luma = (red * 77 + green * 150 + blue * 29) >> 8;
    const uint32_t grey = 128 + luma / 2;
    return (grey << 16) | (grey << 8) | grey;
}

}  // namespace

void drawGreyed(HDC dc, const RECT& area, HBRUSH background, HBITMAP bitmap) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    win::Bitmap canvas(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    win::MemoryDc memory(CreateCompatibleDC(dc));
    if (!canvas || !memory || !bits) {
        FillRect(dc, &area, background);
        return;
    }
    {
        win::SelectedObject selected(memory.get(), canvas.get());
        const RECT whole = {0, 0, width, height};
        FillRect(memory.get(), &whole, background);
        if (bitmap) drawScaled(memory.get(), bitmap);
        GdiFlush();
        auto* pixels = static_cast<uint32_t*>(bits);
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        for (size_t i = 0; i < count; ++i) pixels[i] = greyed(pixels[i]);
        BitBlt(dc, area.left, area.top, width, height, memory.get(), 0, 0, SRCCOPY);
    }
}

}  // namespace ui
