// A multi-line plain text area that lines are appended to.
#pragma once

#include <vector>

#include "common/ui/control.h"

namespace ui {

class Memo : public Control {
public:
    Memo(Container& parent, const Bounds& b, bool readOnly = true);
    void appendLine(const std::string& line);
    // Keeps at most this many lines: appending drops the oldest (0: no
    // limit).
    void setLineLimit(int lines) { lineLimit_ = lines; }
    void clear();
    std::vector<std::string> lines() const;

private:
    int lineLimit_ = 0;
};

}  // namespace ui
