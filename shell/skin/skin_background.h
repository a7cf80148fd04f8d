// The picture that covers the skinned main window. It lies below every other
// control and lets the mouse through to the window, so that the window's own
// hit test (the draggable header) still answers for it.
#pragma once

#include <windows.h>

#include "common/ui/control.h"
#include "common/win_handles.h"

namespace skin {

class SkinBackground : public ui::Control {
public:
    // Shows the picture, drawn for 96 DPI, at (0, 0) at the scaled size;
    // takes ownership of it. An empty picture leaves the window's own
    // background colour.
    SkinBackground(ui::Container& parent, win::Bitmap picture);

    // Puts the picture below every other control of its container. Later
    // controls are made below the earlier ones, so this comes after the
    // last of them.
    void sendToBack();

private:
    win::Bitmap picture_;
};

}  // namespace skin
