#include "common/ui/bevel.h"

namespace ui {

Bevel::Bevel(Container& parent, const Bounds& b, BevelShape shape)
    : Control(parent, "STATIC", "",
              WS_VISIBLE | (shape == BevelShape::TopLine ? SS_ETCHEDHORZ : SS_ETCHEDFRAME), 0, b) {
    // The static control widens itself by its edges when it is made.
    setBounds(b);
}

}  // namespace ui
