// The window names by which the suite's programs find one another's windows,
// each written once here. Portable: names only.
#pragma once

namespace win {

// The class of Mendora's main window alone: the updater asks the window of
// this class in the process Mendora recorded (kProcessIdValue) to end before
// it replaces Mendora's files. The suite's other windows share one class, so
// a caption or the shared class would also find the updater's own window.
constexpr char kMendoraMainWindowClass[] = "MendoraMainWindow";

}  // namespace win
