// The eight problem categories, made in their fixed order.
#pragma once

namespace sysrepair {

// Makes every category that does not exist yet, in the order that is also the
// task manager's order: Custom Controls, Drive Cleaner, Installed Software,
// Windows System Fonts, Internet Cleaner, Windows Help Files, Recent
// Documents, Windows Shortcuts.
void createCategories();

}  // namespace sysrepair
