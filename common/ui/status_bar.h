// A status bar along the bottom edge of its window, with text panels.
#pragma once

#include <vector>

#include "common/ui/control.h"

namespace ui {

class StatusBar : public Control {
public:
    // One panel per width (pixels; -1 reaches to the right edge).
    StatusBar(Container& parent, const std::vector<int>& panelWidths);
    void setPanelText(int panel, const std::string& text);
    std::string panelText(int panel) const;
    // The bar's whole height, in layout units; by default the platform's.
    void setHeight(int height);
    void onParentResized() override;
};

}  // namespace ui
