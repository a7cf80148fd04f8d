// A line or block of text on the container's background.
#pragma once

#include "common/ui/control.h"

namespace ui {

enum class Align { Left, Centre, Right };

struct LabelOptions {
    Align align = Align::Left;
    bool wordWrap = false;
};

class Label : public Control {
public:
    Label(Container& parent, const Bounds& b, const std::string& text, LabelOptions options = {});
    HBRUSH onColour(HDC dc) override;
    // Keeps the width and makes the height that of the text as it wraps in
    // it, in the label's font.
    void fitHeightToText();
};

}  // namespace ui
