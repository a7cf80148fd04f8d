// A frame with a caption around a group of controls. As in dialog templates,
// the controls of the group are siblings laid over it, not its children, so
// that their notifications reach the window like any other control's.
#pragma once

#include "common/ui/control.h"

namespace ui {

class GroupBox : public Control {
public:
    GroupBox(Container& parent, const Bounds& b, const std::string& caption);
    // Bounds given from the group's top-left corner, in the container's
    // coordinates: where a control of the group goes.
    Bounds inside(const Bounds& b) const;
    HBRUSH onColour(HDC dc) override;
};

}  // namespace ui
