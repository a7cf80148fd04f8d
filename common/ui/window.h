// A top-level window that owns its controls. The handlers are plain
// callbacks set by the window class that builds on it.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

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
    // plain close).
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

    std::unique_ptr<MenuBar> menuBar_;
    std::function<bool(int, int)> captionTest_;
    bool modal_ = false;
    int modalResult_ = 0;
};

}  // namespace ui
