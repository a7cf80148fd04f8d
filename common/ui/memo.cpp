#include "common/ui/memo.h"

namespace ui {

Memo::Memo(Container& parent, const Bounds& b, bool readOnly)
    : Control(parent, "EDIT", "",
              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                  (readOnly ? ES_READONLY : 0),
              WS_EX_CLIENTEDGE, b) {
    // The default limit (30000 characters) is too small for a long log.
    SendMessageA(handle(), EM_SETLIMITTEXT, 0, 0);
}

void Memo::appendLine(const std::string& line) {
    const int length = GetWindowTextLengthA(handle());
    SendMessageA(handle(), EM_SETSEL, length, length);
    const std::string text = (length > 0 ? "\r\n" : "") + line;
    SendMessageA(handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    const int count = static_cast<int>(SendMessageA(handle(), EM_GETLINECOUNT, 0, 0));
    if (lineLimit_ <= 0 || count <= lineLimit_) return;
    const LRESULT keptStart = SendMessageA(handle(), EM_LINEINDEX, count - lineLimit_, 0);
    SendMessageA(handle(), EM_SETSEL, 0, keptStart);
    SendMessageA(handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
}

void Memo::clear() {
    SetWindowTextA(handle(), "");
}

std::vector<std::string> Memo::lines() const {
    std::vector<std::string> result;
    const std::string all = text();
    if (all.empty()) return result;
    size_t start = 0;
    for (;;) {
        const size_t end = all.find("\r\n", start);
        result.push_back(
            all.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return result;
}

}  // namespace ui
