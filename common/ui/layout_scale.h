// The one scale of a run's layout. The suite's windows are laid out in
// units of 1/96 inch, the pixels of a screen at 96 DPI; the programs declare
// themselves aware of the system's DPI, so Windows no longer stretches them
// and the user-interface layer turns units into the screen's pixels wherever
// it makes or moves a window, a control or a font, and back wherever it
// reports a size or a position. At 96 DPI a unit is a pixel.
#pragma once

#include <windows.h>

namespace ui {

// The system's DPI, read once per run: Windows changes it only at the next
// log-on, and a window laid out at one DPI stays laid out at it.
int systemDpi();

// Units to pixels, rounded to the nearest pixel.
int toPixels(int units);
// Pixels to units, rounded to the nearest unit: turns toPixels back exactly
// at any scale of 100% and more.
int toUnits(int pixels);

// The font height in pixels of a size in points (negative: the height of the
// characters, as CreateFont takes it).
int fontHeightForPoints(int points);

}  // namespace ui
