#include <windows.h>

#include <gtest/gtest.h>

#include "common/ui/bevel.h"
#include "common/ui/button.h"
#include "common/ui/group_box.h"
#include "common/ui/label.h"
#include "common/ui/list_box.h"
#include "common/ui/list_view.h"
#include "common/ui/memo.h"
#include "common/ui/menu_bar.h"
#include "common/ui/panel.h"
#include "common/ui/picture.h"
#include "common/ui/progress_bar.h"
#include "common/ui/rich_text.h"
#include "common/ui/status_bar.h"
#include "common/ui/tree_view.h"
#include "common/ui/window.h"

namespace {

class Controls : public ::testing::Test {
protected:
    Controls() : window(makeOptions()) { window.show(); }
    static ui::WindowOptions makeOptions() {
        ui::WindowOptions o;
        o.caption = "controls";
        o.clientWidth = 500;
        o.clientHeight = 400;
        return o;
    }
    ui::Window window;
};

TEST_F(Controls, CommonPropertiesAreSetAndReadBack) {
    auto& label = window.add<ui::Label>(ui::Bounds{16, 51, 401, 18}, "Possible Problems",
                                        ui::LabelOptions{ui::Align::Centre, false});
    EXPECT_EQ(label.text(), "Possible Problems");
    label.setText("3 Possible Problems");
    EXPECT_EQ(label.text(), "3 Possible Problems");
    EXPECT_EQ(label.left(), 16);
    EXPECT_EQ(label.top(), 51);
    EXPECT_EQ(label.width(), 401);
    EXPECT_EQ(label.height(), 18);
    EXPECT_TRUE(label.visible());
    label.setVisible(false);
    EXPECT_FALSE(label.visible());
    label.setEnabled(false);
    EXPECT_FALSE(label.enabled());
    label.setFontColour(RGB(255, 0, 0));
    EXPECT_EQ(label.fontColour(), RGB(255, 0, 0));
    label.setFont(ui::FontSpec{"Verdana", 15, true});
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(label.handle(), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    label.setBounds(ui::Bounds{1, 2, 30, 40});
    EXPECT_EQ(label.left(), 1);
    EXPECT_EQ(label.height(), 40);
}

TEST_F(Controls, AButtonInsideAPanelReportsItsClick) {
    auto& panel = window.add<ui::Panel>(ui::Bounds{10, 10, 200, 100}, RGB(255, 255, 255));
    int clicks = 0;
    auto& button = panel.add<ui::Button>(ui::Bounds{5, 5, 81, 25}, "OK", [&] { ++clicks; });
    EXPECT_EQ(GetParent(button.handle()), panel.handle());
    button.click();
    EXPECT_EQ(clicks, 1);
    button.setEnabled(false);
    button.click();
    EXPECT_EQ(clicks, 1);
    panel.setVisible(false);
    EXPECT_FALSE(IsWindowVisible(button.handle()));
}

TEST_F(Controls, ListBoxKeepsLinesAndSelection) {
    auto& list = window.add<ui::ListBox>(ui::Bounds{16, 104, 401, 132});
    int doubleClicks = 0;
    list.onDoubleClick = [&] { ++doubleClicks; };
    list.addLine("Custom Controls  -  Missing COM/DLL/OCX Components");
    list.addLine("Drive Cleaner  -  Unused Temporary Files");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.line(1), "Drive Cleaner  -  Unused Temporary Files");  // not sorted
    EXPECT_EQ(list.itemIndex(), -1);
    list.setItemIndex(1);
    EXPECT_EQ(list.itemIndex(), 1);
    SendMessageA(window.handle(), WM_COMMAND, MAKEWPARAM(list.id(), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(list.handle()));
    EXPECT_EQ(doubleClicks, 1);
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(Controls, ReportListViewHoldsSubItemsIndentsAndImages) {
    auto& list = window.add<ui::ListView>(ui::Bounds{0, 0, 449, 300},
                                          ui::ListViewOptions{true, false, true});
    list.addColumn("Item");
    list.addColumn("Value");
    list.setSmallImages(ui::ImageList(ImageList_Create(16, 16, ILC_COLOR24, 12, 0)));
    const int heading = list.addItem("Operating System Information", 0, 7);
    const int row = list.addItem("Windows Uptime", 1, 11);
    list.setSubItem(row, 1, "3 days 04:05:06");
    const int blank = list.addItem("");
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.itemText(heading), "Operating System Information");
    EXPECT_EQ(list.itemText(row, 1), "3 days 04:05:06");
    EXPECT_EQ(list.indent(row), 1);
    EXPECT_EQ(list.image(heading), 7);
    EXPECT_EQ(list.image(blank), -1);
    list.autoSizeColumns();
    list.clear();
    EXPECT_EQ(list.count(), 0);
}

TEST_F(Controls, ListStyleListViewWithCheckBoxes) {
    auto& list = window.add<ui::ListView>(ui::Bounds{8, 24, 345, 201},
                                          ui::ListViewOptions{false, true, false});
    EXPECT_EQ(GetWindowLongA(list.handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    for (const char* caption : {"Custom Controls (Fixes Missing COM/DLL/OCX Components)",
                                "Internet Cleaner (Fixes Unused Internet Files)"}) {
        const int i = list.addItem(caption);
        list.setChecked(i, true);
    }
    EXPECT_TRUE(list.checked(0));
    list.setChecked(1, false);
    EXPECT_TRUE(list.checked(0));
    EXPECT_FALSE(list.checked(1));
}

TEST_F(Controls, AGroupPlacesItsControlsFromItsCornerAndABevelDrawsALine) {
    auto& group = window.add<ui::GroupBox>(ui::Bounds{8, 32, 497, 201}, "Previous Changes");
    EXPECT_EQ(group.text(), "Previous Changes");
    EXPECT_EQ(GetWindowLongA(group.handle(), GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
    auto& list = window.add<ui::ListView>(group.inside(ui::Bounds{8, 16, 481, 169}));
    EXPECT_EQ(GetParent(list.handle()), window.handle());
    EXPECT_EQ(list.left(), 16);
    EXPECT_EQ(list.top(), 48);
    EXPECT_EQ(list.width(), 481);
    EXPECT_EQ(list.height(), 169);

    auto& line = window.add<ui::Bevel>(ui::Bounds{16, 240, 393, 1});
    EXPECT_EQ(GetWindowLongA(line.handle(), GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDHORZ);
    EXPECT_EQ(line.width(), 393);
    auto& frame = window.add<ui::Bevel>(ui::Bounds{0, 0, 50, 50}, ui::BevelShape::Frame);
    EXPECT_EQ(GetWindowLongA(frame.handle(), GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDFRAME);
}

TEST_F(Controls, TreeViewExpandsTheChosenNodeOnly) {
    auto& tree = window.add<ui::TreeView>(ui::Bounds{8, 24, 449, 353});
    ui::TreeNode first = tree.addRoot("Missing COM/DLL/OCX Components");
    tree.addChild(first, "leaf");
    ui::TreeNode child = tree.addChild(first, "CLSID\\{1}\\InProcServer32");
    ui::TreeNode second = tree.addRoot("Missing System Fonts");
    tree.addChild(second, "a.ttf");
    // Children that come after the branch's first child are expanded too.
    ui::TreeNode deeper = tree.addChild(child, "deeper");
    tree.addChild(deeper, "deepest");
    tree.expand(first, true);
    EXPECT_EQ(tree.childCount(nullptr), 2);
    EXPECT_EQ(tree.nodeText(tree.child(nullptr, 1)), "Missing System Fonts");
    EXPECT_EQ(tree.childCount(first), 2);
    EXPECT_TRUE(tree.expanded(first));
    EXPECT_TRUE(tree.expanded(child));
    EXPECT_TRUE(tree.expanded(deeper));
    EXPECT_FALSE(tree.expanded(second));
    tree.clear();
    EXPECT_EQ(tree.childCount(nullptr), 0);
    // A tree filled again after clearing expands as the first did.
    ui::TreeNode again = tree.addRoot("Missing System Fonts");
    ui::TreeNode font = tree.addChild(again, "Fonts");
    tree.addChild(font, "b.ttf");
    tree.expand(again, true);
    EXPECT_TRUE(tree.expanded(font));
}

TEST_F(Controls, RichTextAppendsColouredBoldTextAndScrollsToTheEnd) {
    auto& log =
        window.add<ui::RichText>(ui::Bounds{8, 24, 401, 100}, ui::RichTextOptions{true, false});
    log.append("plain ", RGB(0, 0, 255));
    log.append("green bold\r\n", RGB(0, 0x80, 0), true);
    EXPECT_EQ(log.plainText().substr(0, 16), "plain green bold");
    EXPECT_EQ(log.colourAt(0), RGB(0, 0, 255));
    EXPECT_FALSE(log.boldAt(0));
    EXPECT_EQ(log.colourAt(6), RGB(0, 0x80, 0));
    EXPECT_TRUE(log.boldAt(6));
    for (int i = 0; i < 60; ++i) log.append("line " + std::to_string(i) + "\r\n", 0);
    log.scrollToEnd();
    EXPECT_GT(log.firstVisibleLine(), 30);
    // Far beyond the platform's default limit of 32,767 characters, which
    // Windows holds added text to (Wine does not: the limit is read back).
    EXPECT_GE(log.textLimit(), 64 * 1024 * 1024);
    const std::string block(999, 'x');
    for (int i = 0; i < 300; ++i) log.append(block + "\r", 0);
    const std::string text = log.plainText();
    ASSERT_GE(text.size(), 300u * 1000u);
    EXPECT_EQ(text.substr(text.size() - 1001, 999), block);
    log.clear();
    EXPECT_EQ(log.plainText(), "");
}

TEST_F(Controls, AnEditableRichTextCanSwallowTheEnterKey) {
    auto& input =
        window.add<ui::RichText>(ui::Bounds{8, 200, 300, 60}, ui::RichTextOptions{false, true});
    int enters = 0;
    input.onKeyPress = [&](char c) {
        if (c != '\r') return false;
        ++enters;
        return true;
    };
    SetFocus(input.handle());
    for (char c : std::string("hi\r")) SendMessageA(input.handle(), WM_CHAR, c, 0);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(input.plainText(), "hi");
}

TEST_F(Controls, MemoProgressAndStatusBar) {
    auto& memo = window.add<ui::Memo>(ui::Bounds{8, 160, 249, 169});
    memo.appendLine("Getting File list...");
    memo.appendLine("Complete");
    EXPECT_EQ(memo.lines(), (std::vector<std::string>{"Getting File list...", "Complete"}));

    auto& bar = window.add<ui::ProgressBar>(ui::Bounds{16, 48, 253, 17});
    bar.setPosition(42);
    EXPECT_EQ(bar.position(), 42);
    bar.setPosition(250);
    EXPECT_EQ(bar.position(), 100);
    bar.setPosition(-3);
    EXPECT_EQ(bar.position(), 0);

    auto& status = window.add<ui::StatusBar>(std::vector<int>{500});
    status.setPanelText(0, "Click \"Check For Updates\" to start Updating Mendora");
    EXPECT_EQ(status.panelText(0), "Click \"Check For Updates\" to start Updating Mendora");
}

TEST_F(Controls, MenuItemsCanBeDisabledCheckedAndClicked) {
    ui::MenuBar& bar = window.menuBar();
    int restores = 0;
    ui::Menu& help = bar.addMenu("Help");
    ui::MenuItem& restore = help.addItem("Restore previous version", [&] { ++restores; });
    ui::MenuItem& stamp = bar.addMenu("Options").addItem("TimeStamp");
    EXPECT_TRUE(restore.enabled());
    restore.setEnabled(false);
    EXPECT_FALSE(restore.enabled());
    EXPECT_FALSE(stamp.checked());
    stamp.setChecked(true);
    EXPECT_TRUE(stamp.checked());
    EXPECT_EQ(bar.find("TimeStamp"), &stamp);
    SendMessageA(window.handle(), WM_COMMAND, MAKEWPARAM(restore.id(), 0), 0);
    EXPECT_EQ(restores, 1);
}

TEST_F(Controls, PictureReportsEnterPressReleaseAndLeave) {
    auto& picture = window.add<ui::Picture>(ui::Bounds{416, 80, 50, 30});
    std::string events;
    picture.onEnter = [&] { events += "enter "; };
    picture.onLeave = [&] { events += "leave "; };
    picture.onPress = [&](ui::MouseButton b) {
        events += b == ui::MouseButton::Right ? "press-right " : "press ";
    };
    picture.onRelease = [&](ui::MouseButton b) {
        events += b == ui::MouseButton::Right ? "release-right " : "release ";
    };
    HBITMAP bitmap = CreateBitmap(50, 30, 1, 32, nullptr);
    picture.setBitmap(bitmap);
    EXPECT_EQ(picture.bitmap(), bitmap);
    const HWND h = picture.handle();
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));  // still inside: no second enter
    SendMessageA(h, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(6, 5));
    EXPECT_EQ(GetCapture(), h);
    SendMessageA(h, WM_RBUTTONUP, 0, MAKELPARAM(6, 5));
    EXPECT_NE(GetCapture(), h);
    SendMessageA(h, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(events, "enter press-right release-right leave ");
    picture.setBitmap(nullptr);
    DeleteObject(bitmap);
}

}  // namespace
