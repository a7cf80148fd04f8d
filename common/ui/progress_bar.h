// A progress bar with positions 0 to 100.
#pragma once

#include "common/ui/control.h"

namespace ui {

class ProgressBar : public Control {
public:
    ProgressBar(Container& parent, const Bounds& b);
    // Values outside 0 to 100 are clamped.
    void setPosition(int percent);
    int position() const;
};

}  // namespace ui
