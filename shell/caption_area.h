// The part of the main window's skin that acts as its title bar: the header
// artwork, whose lower edge steps down from right to left. The user drags the
// window by it.
#pragma once

namespace sysrepair {

// Whether the point (client coordinates) lies in the draggable header.
bool isCaptionPoint(int x, int y);

}  // namespace sysrepair
