#include "common/ui/status_bar.h"

#include <windows.h>

#include <commctrl.h>

#include "common/ui/layout_scale.h"

namespace ui {

StatusBar::StatusBar(Container& parent, const std::vector<int>& panelWidths)
    : Control(parent, STATUSCLASSNAMEA, "", WS_VISIBLE, 0, Bounds{}) {
    std::vector<int> edges;
    int right = 0;
    for (int w : panelWidths) {
        right = w < 0 ? -1 : right + toPixels(w);
        edges.push_back(right);
        if (right < 0) break;
    }
    if (edges.empty()) edges.push_back(-1);
    SendMessageA(handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void StatusBar::setPanelText(int panel, const std::string& text) {
    SendMessageA(handle(), SB_SETTEXTA, static_cast<WPARAM>(panel),
                 reinterpret_cast<LPARAM>(text.c_str()));
}

std::string StatusBar::panelText(int panel) const {
    const LRESULT length = LOWORD(SendMessageA(handle(), SB_GETTEXTLENGTHA, panel, 0));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(handle(), SB_GETTEXTA, panel, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

void StatusBar::setHeight(int height) {
    // The bar is asked for the height of its drawing area, which its borders
    // and edges enclose by amounts of the platform's choosing: the first
    // answer is measured and the request corrected by the difference.
    const int wanted = toPixels(height);
    int request = wanted;
    for (int attempt = 0; attempt < 2; ++attempt) {
        SendMessageA(handle(), SB_SETMINHEIGHT, request, 0);
        SendMessageA(handle(), WM_SIZE, 0, 0);
        RECT r = {};
        GetWindowRect(handle(), &r);
        const int got = r.bottom - r.top;
        if (got == wanted) return;
        request += wanted - got;
    }
}

void StatusBar::onParentResized() {
    SendMessageA(handle(), WM_SIZE, 0, 0);
}

}  // namespace ui
