#include "common/ui/layout_scale.h"

#include "common/win_handles.h"

namespace ui {

namespace {

const int kUnitsPerInch = 96;

int readSystemDpi() {
    // Windows 10 1607 and later: the DPI of the process's awareness. Vista,
    // 7 and 8 lack the call; there the screen's device context tells it.
    using GetDpiForSystem = UINT(WINAPI*)();
    const auto getDpi = reinterpret_cast<GetDpiForSystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForSystem")));
    int dpi = getDpi ? static_cast<int>(getDpi()) : 0;
    if (dpi <= 0) dpi = GetDeviceCaps(win::WindowDc(nullptr).get(), LOGPIXELSY);
    return dpi > 0 ? dpi : kUnitsPerInch;
}

}  // namespace

int systemDpi() {
    static const int dpi = readSystemDpi();
    return dpi;
}

int toPixels(int units) {
    return MulDiv(units, systemDpi(), kUnitsPerInch);
}

int toUnits(int pixels) {
    return MulDiv(pixels, kUnitsPerInch, systemDpi());
}

int fontHeightForPoints(int points) {
    return -MulDiv(points, systemDpi(), 72);
}

}  // namespace ui
