#include "common/ui/window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/message_box.h"
#include "common/ui/application.h"
#include "common/ui/button.h"
#include "common/ui/synchronize.h"

namespace {

ui::WindowOptions options(const std::string& caption, int w = 300, int h = 200) {
    ui::WindowOptions o;
    o.caption = caption;
    o.clientWidth = w;
    o.clientHeight = h;
    return o;
}

TEST(Window, HasTheClientSizeCaptionAndPositionItWasGiven) {
    ui::Window window(options("Mendora", 358, 260));
    ASSERT_NE(window.handle(), nullptr);
    EXPECT_EQ(window.caption(), "Mendora");
    EXPECT_EQ(window.clientWidth(), 358);
    EXPECT_EQ(window.clientHeight(), 260);
    window.setClientSize(416, 574);
    EXPECT_EQ(window.clientWidth(), 416);
    EXPECT_EQ(window.clientHeight(), 574);
    window.setPosition(40, 50);
    EXPECT_EQ(window.left(), 40);
    EXPECT_EQ(window.top(), 50);
    window.centre();
    EXPECT_EQ(window.left(), ui::Application::screenWidth() / 2 - window.width() / 2);
    EXPECT_GT(ui::Application::screenWidth(), 0);
    EXPECT_GT(ui::Application::screenHeight(), 0);
}

TEST(Window, StayOnTopCanBeSetAndCleared) {
    ui::WindowOptions o = options("top");
    o.stayOnTop = true;
    ui::Window window(o);
    EXPECT_TRUE(window.stayOnTop());
    window.setStayOnTop(false);
    EXPECT_FALSE(window.stayOnTop());
    window.setStayOnTop(true);
    EXPECT_TRUE(window.stayOnTop());
}

TEST(Window, ACloseRequestCanBeRefused) {
    ui::Window window(options("close"));
    bool allow = false, closed = false;
    window.onCloseQuery = [&] { return allow; };
    window.onClose = [&] { closed = true; };
    window.show();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.visible());
    SendMessageA(window.handle(), WM_CLOSE, 0, 0);  // the system menu's close asks the same way
    EXPECT_TRUE(window.visible());
    EXPECT_FALSE(closed);
    allow = true;
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.visible());
    EXPECT_TRUE(closed);
}

TEST(Window, ShowAndResizeHandlersRun) {
    ui::Window window(options("handlers"));
    int shows = 0, resizes = 0;
    window.onShow = [&] { ++shows; };
    window.onResize = [&] { ++resizes; };
    window.show();
    EXPECT_EQ(shows, 1);
    window.setClientSize(320, 240);
    EXPECT_GE(resizes, 1);
}

TEST(Window, ModalShowDisablesTheOtherWindowsAndReturnsTheResult) {
    ui::Window owner(options("owner"));
    owner.show();
    ui::Window dialog(options("dialog"));
    bool ownerDisabled = false;
    ASSERT_TRUE(ui::post([&] {
        ownerDisabled = !IsWindowEnabled(owner.handle());
        dialog.closeModal(7);
    }));
    EXPECT_EQ(dialog.showModal(), 7);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner.handle()));
    EXPECT_FALSE(dialog.visible());
}

TEST(Window, TheMessageLoopEndsWhenTheMainWindowCloses) {
    ui::Window window(options("main"));
    bool minimized = false;
    ASSERT_TRUE(ui::post([&] {
        ui::Application::minimize();
        minimized = IsIconic(window.handle()) != FALSE;
        window.close();
    }));
    EXPECT_EQ(ui::Application::run(window), 0);
    EXPECT_TRUE(minimized);
    EXPECT_EQ(ui::Application::mainWindow(), nullptr);

    ASSERT_TRUE(ui::post([] { ui::Application::terminate(5); }));
    EXPECT_EQ(ui::Application::run(window), 5);
    win::setMainWindowHandle(nullptr);
}

TEST(Window, FramelessRoundedWindowAnswersCaptionForChosenPoints) {
    ui::WindowOptions o = options("shaped", 730, 595);
    o.frame = ui::Frame::None;
    ui::Window window(o);
    EXPECT_EQ(window.clientWidth(), 730);
    window.setRoundedShape(730, 595 - 48, 30, 30);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(window.handle(), region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 20, 540));
    EXPECT_FALSE(PtInRegion(region, 20, 560));  // below the shape
    EXPECT_FALSE(PtInRegion(region, 0, 0));     // the corner is cut away
    DeleteObject(region);

    window.setCaptionTest([](int x, int y) { return y < 130 && x < 240; });
    window.setPosition(0, 0);
    window.show();
    auto hitAt = [&](int x, int y) {
        POINT p = {x, y};
        ClientToScreen(window.handle(), &p);
        return SendMessageA(window.handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hitAt(100, 90), HTCAPTION);
    EXPECT_EQ(hitAt(700, 100), HTCLIENT);
}

TEST(Window, AnExceptionInAHandlerIsShownAndTheWindowGoesOn) {
    int boxes = 0;
    std::string text;
    win::setMessageBoxHandler([&](const win::MessageBoxRequest& r) {
        ++boxes;
        text = r.text;
        return IDOK;
    });
    {
        ui::Window window(options("throws"));
        auto& button = window.add<ui::Button>(ui::Bounds{8, 8, 80, 25}, "Go",
                                              [] { throw std::runtime_error("bad click"); });
        window.show();
        button.click();
        button.click();
        EXPECT_TRUE(IsWindow(window.handle()));
    }
    win::setMessageBoxHandler({});
    EXPECT_EQ(boxes, 2);
    EXPECT_EQ(text, "bad click");
}

}  // namespace
