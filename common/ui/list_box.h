// A single-selection list of text lines.
#pragma once

#include <functional>

#include "common/ui/control.h"

namespace ui {

class ListBox : public Control {
public:
    ListBox(Container& parent, const Bounds& b);
    void clear();
    void addLine(const std::string& line);
    int count() const;
    std::string line(int index) const;
    // The selected line, or -1.
    int itemIndex() const;
    void setItemIndex(int index);
    void onCommand(WORD code) override;

    std::function<void()> onDoubleClick;
};

}  // namespace ui
