#include "common/ui/scaled_bitmap.h"

#include "common/ui/layout_scale.h"

namespace ui {

SIZE scaledSize(HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return SIZE{0, 0};
    return SIZE{toPixels(info.bmWidth), toPixels(info.bmHeight)};
}

void drawScaled(HDC dc, HBITMAP bitmap) {
    BITMAP info = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return;
    const SIZE size = scaledSize(bitmap);
    win::MemoryDc memory(CreateCompatibleDC(dc));
    win::SelectedObject selected(memory.get(), bitmap);
    if (size.cx == info.bmWidth && size.cy == info.bmHeight) {
        BitBlt(dc, 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
        return;
    }
    // HALFTONE averages the source pixels behind each target pixel; the
    // default mode repeats and drops whole rows and columns. It needs the
    // brush origin set again after the mode.
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin = {};
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    StretchBlt(dc, 0, 0, size.cx, size.cy, memory.get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
}

win::Bitmap scaledPicture(win::Bitmap picture) {
    BITMAP info = {};
    if (!picture || !GetObjectA(picture.get(), sizeof info, &info)) return picture;
    const SIZE size = scaledSize(picture.get());
    if (size.cx == info.bmWidth && size.cy == info.bmHeight) return picture;
    win::WindowDc screen(nullptr);
    win::Bitmap scaled(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!scaled) return picture;
    win::MemoryDc target(CreateCompatibleDC(screen.get()));
    {
        win::SelectedObject selected(target.get(), scaled.get());
        drawScaled(target.get(), picture.get());
    }
    return scaled;
}

}  // namespace ui
