// An etched line that separates parts of a window.
#pragma once

#include "common/ui/control.h"

namespace ui {

enum class BevelShape {
    TopLine,  // a horizontal line along the top edge
    Frame,    // a rectangle around the bounds
};

class Bevel : public Control {
public:
    Bevel(Container& parent, const Bounds& b, BevelShape shape = BevelShape::TopLine);
};

}  // namespace ui
