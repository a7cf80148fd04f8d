// A rich-text area that text is appended to, each piece with its own colour
// and weight, as in a log or a conversation; read-only unless asked.
#pragma once

#include <functional>

#include "common/ui/control.h"

namespace ui {

struct RichTextOptions {
    bool readOnly = true;
    bool wordWrap = true;
};

class RichText : public Control {
public:
    // The most text the box holds, far above any log or conversation.
    static const int kTextLimit = 0x7FFFFFFE;

    RichText(Container& parent, const Bounds& b, RichTextOptions options = {});

    void append(const std::string& text, COLORREF colour, bool bold = false);
    // Appends and keeps the reader's place: a box scrolled to its end shows
    // the new text; one scrolled up to read stays where it was, with its
    // selection.
    void appendFollowing(const std::string& text, COLORREF colour, bool bold = false);
    // The last line is in view (also when everything fits).
    bool scrolledToEnd() const;
    void clear();
    void scrollToEnd();
    // The text as the control holds it (line breaks as "\r").
    std::string plainText() const;
    // Colour and weight of the character at the given position.
    COLORREF colourAt(int position) const;
    bool boldAt(int position) const;
    int firstVisibleLine() const;
    int lineCount() const;
    // The most text the box takes (EM_GETLIMITTEXT).
    int textLimit() const;
    LRESULT onNotify(NMHDR* header) override;

    // Called when a key goes down (a virtual-key code); return true to
    // swallow it. The control acts on some keys already then: Enter makes its
    // line break at key-down, so an input box that sends on Enter swallows
    // it here.
    std::function<bool(unsigned virtualKey)> onKeyDown;
    // Called for each character typed; return true to swallow it.
    std::function<bool(char)> onKeyPress;
};

}  // namespace ui
