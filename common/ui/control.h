// The shape every control wrapper shares: a small class around one child
// window, made by its container from a Bounds and its own options, with the
// common properties (text, visibility, enabling, geometry, font, colour).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/win_handles.h"

namespace ui {

// A control's place in its container, in layout units
// (common/ui/layout_scale.h): the pixels of a 96-DPI screen.
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct FontSpec {
    std::string face = "MS Sans Serif";
    int pointSize = 8;
    bool bold = false;
};

class Container;

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    HWND handle() const { return hwnd_; }
    int id() const { return id_; }
    Container& parent() const { return parent_; }

    void setText(const std::string& text);
    std::string text() const;
    void setVisible(bool visible);
    bool visible() const;
    void setEnabled(bool enabled);
    bool enabled() const;
    void setBounds(const Bounds& b);
    Bounds bounds() const;
    int left() const { return bounds().left; }
    int top() const { return bounds().top; }
    int width() const { return bounds().width; }
    int height() const { return bounds().height; }
    // Gives the control the keyboard focus; whether it has it (on the thread
    // that owns the window).
    void setFocus();
    bool hasFocus() const;
    void setFont(const FontSpec& font);
    void setFontColour(COLORREF colour);
    COLORREF fontColour() const { return fontColour_; }

    // Acts as a click from the keyboard would; false for a control that is
    // not pressed (the default for anything but a button).
    virtual bool press() { return false; }
    // Whether Enter presses this control while it has the focus.
    virtual bool pressesOnEnter() const { return false; }

    // Called by the container for the notifications of this control.
    virtual void onCommand(WORD /*code*/) {}
    virtual LRESULT onNotify(NMHDR* /*header*/) { return 0; }
    // Colours for static and edit controls; null brush means default.
    virtual HBRUSH onColour(HDC dc);
    virtual void onParentResized() {}

    // The control behind a child window of ours, or none.
    static Control* fromHandle(HWND hwnd);
    // The control with this id among the window's children and their
    // children, or none. Ids are unique in the process.
    static Control* findById(HWND window, int id);

protected:
    // Makes the child window of the given class inside the container.
    Control(Container& parent, const char* windowClass, const std::string& text, DWORD style,
            DWORD exStyle, const Bounds& b);

private:
    Container& parent_;
    HWND hwnd_ = nullptr;
    int id_ = 0;
    win::Font font_;
    COLORREF fontColour_ = CLR_INVALID;
};

// A window that holds controls: owns them, routes their notifications to
// them and gives them their background.
class Container {
public:
    virtual ~Container();
    HWND handle() const { return hwnd_; }

    // Makes a control of type T as a child of this container; the container
    // owns it.
    template <typename T, typename... Args>
    T& add(Args&&... args) {
        auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
        T& ref = *control;
        children_.push_back(std::move(control));
        return ref;
    }

    void setBackgroundColour(COLORREF colour);
    COLORREF backgroundColour() const { return background_; }
    HBRUSH backgroundBrush() const;
    // Unique in the process, so that the dialog manager, which looks a
    // control up by its id through every level of a window, finds this one.
    static int nextControlId();

protected:
    Container() = default;
    void setHandle(HWND hwnd) { hwnd_ = hwnd; }
    // The routing of the messages that a parent window receives on behalf of
    // its children. True when handled; result holds the answer.
    bool routeChildMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void destroyChildren() { children_.clear(); }
    void notifyChildrenOfResize();

private:
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
    COLORREF background_ = GetSysColor(COLOR_BTNFACE);
    win::Brush backgroundBrush_;
};

}  // namespace ui
