// The picture button the skinned main window is built from: a picture control
// that shows its normal picture while the pointer is away, its hover picture
// while the pointer is over it and after a release, and its pressed picture
// while a mouse button is held down on it. The click comes on the release of
// any mouse button, also when the pointer left the button meanwhile (the press
// captures the mouse).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/ui/picture.h"
#include "common/win_handles.h"

namespace skin {

class TImageButton : public ui::Picture {
public:
    TImageButton(ui::Container& parent, const ui::Bounds& b);

    // Each setter copies the picture; the caller keeps its own. The normal
    // picture is shown at once; the others when their moment comes.
    void setNormalPicture(HBITMAP picture);
    void setHoverPicture(HBITMAP picture);
    void setPressedPicture(HBITMAP picture);

    HBITMAP normalPicture() const { return Picture_normal.get(); }
    HBITMAP hoverPicture() const { return Picture_hover.get(); }
    HBITMAP pressedPicture() const { return Picture_pressed.get(); }

    // Free credit text; not shown anywhere.
    std::string info = "Mendora picture button";
    // The button's click, with the button as sender.
    std::function<void(TImageButton& sender)> PictureClick;

private:
    void CMMouseEnter();
    void CMMouseLeave();
    void OnMouseDown(ui::MouseButton button);
    void OnMouseUp(ui::MouseButton button);

    win::Bitmap Picture_hover;
    win::Bitmap Picture_pressed;
    win::Bitmap Picture_normal;
};

}  // namespace skin
