// A plain area of its own background colour that holds controls.
#pragma once

#include "common/ui/control.h"

namespace ui {

class Panel : public Control, public Container {
public:
    Panel(Container& parent, const Bounds& b, COLORREF background);
    ~Panel() override;
    using Control::handle;

private:
    static LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

}  // namespace ui
