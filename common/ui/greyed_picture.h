// A picture as a disabled control shows it: in light greys, so that a button
// that cannot be pressed looks so, whatever colours its artwork has.
#pragma once

#include <windows.h>

namespace ui {

// Fills the area with the background, draws the bitmap (may be none) at its
// scaled size over it, and shows the result greyed.
void drawGreyed(HDC dc, const RECT& area, HBRUSH background, HBITMAP bitmap);

}  // namespace ui
