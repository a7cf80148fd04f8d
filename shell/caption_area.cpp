#include "shell/caption_area.h"

namespace sysrepair {

bool isCaptionPoint(int x, int y) {
    if (y >= 130) return false;
    return y < 20 || x < 240 || (x < 322 && y < 114) || (x < 387 && y < 78) ||
           (x < 517 && y < 53) || (x < 616 && y < 71);
}

}  // namespace sysrepair
