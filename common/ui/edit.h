// A single-line text box.
#pragma once

#include "common/ui/control.h"

namespace ui {

class Edit : public Control {
public:
    Edit(Container& parent, const Bounds& b, const std::string& text = std::string());
};

}  // namespace ui
