#include "shell/skin/skin_background.h"

#include "common/ui/scaled_bitmap.h"

namespace skin {

namespace {

// The skin's pictures are drawn for 96 DPI: their pixels are layout units.
ui::Bounds pictureBounds(HBITMAP picture) {
    BITMAP info = {};
    if (!picture || !GetObjectA(picture, sizeof info, &info)) return ui::Bounds{0, 0, 0, 0};
    return ui::Bounds{0, 0, info.bmWidth, info.bmHeight};
}

}  // namespace

// A static control without SS_NOTIFY answers the hit test as transparent, so
// mouse messages reach the window below it. WS_CLIPSIBLINGS keeps it from
// painting over the controls above it.
SkinBackground::SkinBackground(ui::Container& parent, win::Bitmap picture)
    : ui::Control(parent, "STATIC", "", WS_VISIBLE | WS_CLIPSIBLINGS | SS_BITMAP, 0,
                  pictureBounds(picture.get())),
      picture_(ui::scaledPicture(std::move(picture))) {
    if (!handle()) return;
    if (picture_)
        SendMessageA(handle(), STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(picture_.get()));
    sendToBack();
}

void SkinBackground::sendToBack() {
    SetWindowPos(handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace skin
