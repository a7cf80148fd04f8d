// A top-level window that owns its controls. The handlers are plain
// callbacks set by the window class that builds on it.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "common/ui/control.h"

namespace ui {

class MenuBar;

enum class Frame {
    Sizeable,  // caption and sizing border
    Dialog,    // caption, fixed border
    None,      // no caption and no border (shaped windows)
    Tool,      // small caption without buttons (progress windows)
};

// Sizes and positions of windows are in layout units
// (common/ui/layout_scale.h), as are the points handed to the caption test.
struct WindowOptions {
    std::string caption;
    int clientWidth = 400;
    int clientHeight = 300;
    Frame frame = Frame::Sizeable;
    bool minimizeBox = true;
    bool maximizeBox = true;
    bool stayOnTop = false;
    // The window class; empty for the class the suite's windows share. A
    // window that another program looks for by its class has one of its own.
    std::string className;
    // False for a window that only reports (a progress window): showing it
    // leaves the active window active, and a click does not activate it.
    bool activatesWhenShown = true;
};

class Window : public Container {
public:
    explicit Window(const WindowOptions& options);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void show();
    // Shows the window with every other window of the thread disabled and
    // returns when it closes, with the result given to closeModal (0 after a
    // plain close). Unless setOwner named one, the window is owned by the
    // thread's active window (or the main window) while it is shown, so it
    // stays above it, also above a main window that stays on top.
    int showModal();
    void hide();
    bool visible() const;
    // Asks onCloseQuery; when allowed, hides the window and calls onClose.
    // Closing the application's main window ends the message loop. Returns
    // whether the window closed.
    bool close();
    // Closes as close() does, without asking onCloseQuery: for the end of
    // the session, which waits for no answer.
    void closeUnasked();
    void closeModal(int result);
    bool isModal() const { return modal_; }

    void setCaption(const std::string& caption);
    std::string caption() const;
    void setStayOnTop(bool onTop);
    bool stayOnTop() const;
    void setClientSize(int width, int height);
    int clientWidth() const;
    int clientHeight() const;
    int width() const;
    int height() const;
    void setPosition(int left, int top);
    int left() const;
    int top() const;
    // Centres the window on the screen.
    void centre();

    // The icon of the window's caption and taskbar button.
    void setIcon(HICON icon);
    // Whether the window or one of its controls has the keyboard focus.
    bool hasFocus() const;
    // Flashes the caption and taskbar button (FlashWindowEx flags, count and
    // interval).
    void flash(UINT flags, UINT count, DWORD intervalMs);

    // Clips the window to the rounded rectangle (0, 0)-(right, bottom) with
    // corner ellipses of the given size.
    void setRoundedShape(int right, int bottom, int ellipseWidth, int ellipseHeight);
    // Points in client coordinates for which the test is true act as the
    // caption: the user drags the window by them.
    void setCaptionTest(std::function<bool(int x, int y)> test) { captionTest_ = std::move(test); }
    // While a reason is set, Windows (Vista and later) names it to the user
    // whom the window keeps from ending the session; empty clears it. On the
    // window's own thread. The refusal itself is onQueryEndSession's.
    void setSessionEndBlock(const std::string& reason);
    // The window's menu bar, made on first use.
    MenuBar& menuBar();

    // The window that owns this one: it stays above it and is minimised and
    // closed with it. Null for none.
    void setOwner(HWND owner);
    HWND owner() const;

    // The keyboard, as in a dialog. Enter presses the focused button, or else
    // the default button (drawn with the heavier frame); Esc presses the
    // cancel button, or else closes a modal window. The first focus is where
    // the keyboard starts when the window is activated the first time (later
    // it returns to the control that had it); without one, the first control
    // of the tab order. The tab order is the order of creation unless
    // setTabOrder gives it: then Tab visits those controls alone, in that
    // order (controls of the window's panels included).
    void setDefaultButton(Control& button);
    void setCancelButton(Control& button);
    void setFirstFocus(Control& control);
    void setTabOrder(std::initializer_list<Control*> controls);
    bool hasTabOrder() const;
    // Moves the focus on as Tab (or Shift+Tab, backward) does.
    void tab(bool backward) { moveFocus(backward ? 1 : 0, 0); }
    // The control of this window that has the keyboard focus, or none.
    Control* focusedControl() const;
    // Moves the focus to the first usable control of the tab order, when the
    // focus is not on a usable control of this window already.
    void keepFocusUsable();

    // The suite's window behind a top-level window handle, or none.
    static Window* fromHandle(HWND hwnd);

    std::function<void()> onShow;
    std::function<void()> onResize;
    // Return false to refuse the close.
    std::function<bool()> onCloseQuery;
    std::function<void()> onClose;
    // The session is ending, or a program that must replace this one's
    // files asks it to end as a session end would (WM_QUERYENDSESSION).
    // Return false to refuse; nothing may wait for the user here. Unset, the
    // window agrees.
    std::function<bool()> onQueryEndSession;
    // The end goes ahead (WM_ENDSESSION): once this returns, the process may
    // be ended at any moment, so what must be finished is finished here.
    std::function<void()> onEndSession;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    LRESULT defaultButtonId() const;
    HWND nextInTabOrder(HWND from, bool backward) const;
    void moveFocus(WPARAM wParam, LPARAM lParam);
    void cancel();
    void restoreFocus();
    void enableWindowsDisabledForModal();
    static bool usable(HWND control);

    std::unique_ptr<MenuBar> menuBar_;
    std::function<bool(int, int)> captionTest_;
    bool modal_ = false;
    int modalResult_ = 0;
    bool activatesWhenShown_ = true;
    bool ownerChosen_ = false;
    std::vector<HWND> disabledForModal_;
    Control* defaultButton_ = nullptr;
    Control* cancelButton_ = nullptr;
    Control* firstFocus_ = nullptr;
    std::vector<Control*> tabOrder_;
    HWND lastFocus_ = nullptr;
};

}  // namespace ui
