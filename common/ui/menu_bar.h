// A window's menu bar: menus of items that can be enabled, disabled and
// checked, each item with its click handler.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/win_handles.h"

namespace ui {

class MenuItem {
public:
    MenuItem(HMENU menu, UINT id, std::function<void()> onClick)
        : menu_(menu), id_(id), onClick(std::move(onClick)) {}
    UINT id() const { return id_; }
    void setEnabled(bool enabled);
    bool enabled() const;
    void setChecked(bool checked);
    bool checked() const;
    void click() {
        if (onClick) onClick();
    }

private:
    HMENU menu_;
    UINT id_;

public:
    std::function<void()> onClick;
};

class Menu {
public:
    Menu(HMENU handle, UINT& nextId, std::vector<MenuItem*>& allItems)
        : handle_(handle), nextId_(nextId), allItems_(allItems) {}
    HMENU handle() const { return handle_; }
    MenuItem& addItem(const std::string& caption, std::function<void()> onClick = {});
    // An item put before the one at `position` (from 0), its caption in the
    // wide form. Its command id follows the items made before it, whatever
    // its place, so the ids of the items already there never change.
    MenuItem& insertItem(unsigned position, const std::wstring& caption,
                         std::function<void()> onClick = {});
    void addSeparator();

private:
    HMENU handle_;
    UINT& nextId_;
    std::vector<MenuItem*>& allItems_;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

class MenuBar {
public:
    MenuBar();
    ~MenuBar();
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    HMENU handle() const { return handle_.get(); }
    Menu& addMenu(const std::string& caption);
    // Runs the handler of the item with this command id.
    void dispatch(UINT id);
    // The item with the given caption in any menu, or none.
    MenuItem* find(const std::string& caption);

private:
    win::Menu handle_;
    // A menu that could not be appended to the bar is not the bar's to
    // destroy, so it is kept here.
    std::vector<win::Menu> unattachedMenus_;
    // Items get ids from here in the order they are added; test drivers in
    // other processes rely on that order.
    UINT nextId_ = 0x8000;
    std::vector<MenuItem*> allItems_;
    std::vector<std::unique_ptr<Menu>> menus_;
};

}  // namespace ui
