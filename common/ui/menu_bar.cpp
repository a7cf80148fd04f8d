#include "common/ui/menu_bar.h"

namespace ui {

void MenuItem::setEnabled(bool enabled) {
    EnableMenuItem(menu_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool MenuItem::enabled() const {
    const UINT state = GetMenuState(menu_, id_, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) == 0;
}

void MenuItem::setChecked(bool checked) {
    CheckMenuItem(menu_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool MenuItem::checked() const {
    const UINT state = GetMenuState(menu_, id_, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

MenuItem& Menu::addItem(const std::string& caption, std::function<void()> onClick) {
    const UINT id = nextId_++;
    AppendMenuA(handle_, MF_STRING, id, caption.c_str());
    items_.push_back(std::make_unique<MenuItem>(handle_, id, std::move(onClick)));
    allItems_.push_back(items_.back().get());
    return *items_.back();
}

MenuItem& Menu::insertItem(unsigned position, const std::wstring& caption,
                           std::function<void()> onClick) {
    const UINT id = nextId_++;
    InsertMenuW(handle_, position, MF_BYPOSITION | MF_STRING, id, caption.c_str());
    items_.push_back(std::make_unique<MenuItem>(handle_, id, std::move(onClick)));
    allItems_.push_back(items_.back().get());
    return *items_.back();
}

void Menu::addSeparator() {
    AppendMenuA(handle_, MF_SEPARATOR, 0, nullptr);
}

MenuBar::MenuBar() : handle_(CreateMenu()) {}

MenuBar::~MenuBar() = default;

Menu& MenuBar::addMenu(const std::string& caption) {
    win::Menu popup(CreatePopupMenu());
    // Once appended, the popup is the bar's, destroyed with it.
    const HMENU handle = popup.get();
    if (AppendMenuA(handle_.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(handle),
                    caption.c_str()))
        popup.detach();
    menus_.push_back(std::make_unique<Menu>(handle, nextId_, allItems_));
    if (popup) unattachedMenus_.push_back(std::move(popup));
    return *menus_.back();
}

void MenuBar::dispatch(UINT id) {
    for (MenuItem* item : allItems_) {
        if (item->id() == id) {
            item->click();
            return;
        }
    }
}

MenuItem* MenuBar::find(const std::string& caption) {
    for (MenuItem* item : allItems_) {
        char text[256] = {};
        GetMenuStringA(handle_.get(), item->id(), text, sizeof text, MF_BYCOMMAND);
        if (caption == text) return item;
    }
    return nullptr;
}

}  // namespace ui
