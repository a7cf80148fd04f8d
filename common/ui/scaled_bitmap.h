// Pictures drawn for 96 DPI, shown at the same size in inches on any screen:
// stretched by the layout's scale (common/ui/layout_scale.h) with a filter
// that averages pixels, so that enlarged pictures keep their look.
#pragma once

#include <windows.h>

#include "common/win_handles.h"

namespace ui {

// The bitmap's size in pixels once scaled.
SIZE scaledSize(HBITMAP bitmap);

// Draws the bitmap with its top left corner at (0, 0) at its scaled size.
void drawScaled(HDC dc, HBITMAP bitmap);

// The picture at its scaled size: itself at 96 DPI, else a scaled copy (the
// picture itself is freed). Empty stays empty.
win::Bitmap scaledPicture(win::Bitmap picture);

}  // namespace ui
