// A multi-line plain text area that lines are appended to.
#pragma once

#include <vector>

#include "common/ui/control.h"

namespace ui {

class Memo : public Control {
public:
    Memo(Container& parent, const Bounds& b, bool readOnly = true);
    void appendLine(const std::string& line);
    void clear();
    std::vector<std::string> lines() const;
};

}  // namespace ui
