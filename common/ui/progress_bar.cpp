#include "common/ui/progress_bar.h"

#include <windows.h>

#include <commctrl.h>

namespace ui {

ProgressBar::ProgressBar(Container& parent, const Bounds& b)
    : Control(parent, PROGRESS_CLASSA, "", WS_VISIBLE, 0, b) {
    SendMessageA(handle(), PBM_SETRANGE32, 0, 100);
}

void ProgressBar::setPosition(int percent) {
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    SendMessageA(handle(), PBM_SETPOS, percent, 0);
}

int ProgressBar::position() const {
    return static_cast<int>(SendMessageA(handle(), PBM_GETPOS, 0, 0));
}

}  // namespace ui
