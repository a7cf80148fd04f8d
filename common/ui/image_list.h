// The owner of an image list of the common controls (ImageList_Create).
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "common/win_handles.h"

namespace ui {

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle invalid() { return nullptr; }
    static bool valid(Handle h) { return h != nullptr; }
    static void close(Handle h) { ImageList_Destroy(h); }
};

using ImageList = win::UniqueHandle<ImageListTraits>;

}  // namespace ui
