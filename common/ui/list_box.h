// A single-selection list of text lines.
#pragma once

#include <cstdint>
#include <functional>

#include "common/ui/control.h"

namespace ui {

class ListBox : public Control {
public:
    ListBox(Container& parent, const Bounds& b);
    void clear();
    // Appends a line; returns its index. The number travels with the line.
    int addLine(const std::string& line, intptr_t data = 0);
    intptr_t data(int index) const;
    int count() const;
    std::string line(int index) const;
    // The selected line, or -1.
    int itemIndex() const;
    void setItemIndex(int index);
    void onCommand(WORD code) override;

    std::function<void()> onDoubleClick;
    // The user chose another line.
    std::function<void()> onSelect;
};

}  // namespace ui
