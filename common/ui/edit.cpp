#include "common/ui/edit.h"

namespace ui {

Edit::Edit(Container& parent, const Bounds& b, const std::string& text)
    : Control(parent, "EDIT", text, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT,
              WS_EX_CLIENTEDGE, b) {}

}  // namespace ui
