// The skin of the main window: the background and the three pictures of each
// picture button, JPEGs embedded as RCDATA resources (art/skin.rc, made by
// tools/make-artwork.sh). A program that shows them links the object library
// `shell_art`.
#pragma once

#include <windows.h>

#include "common/win_handles.h"
#include "shell/skin/image_button.h"

namespace skin {

// 733 by 553.
extern const char kBackgroundResource[];

// Every picture button of the main window, with the size its pictures have.
enum class SkinButton {
    Restore,        // 121 by 30
    Update,         // 89 by 36
    Minimize,       // 33 by 33
    Close,          // 33 by 33
    WindowsInfo,    // 197 by 62
    Products,       // 196 by 60
    SupportChat,    // 195 by 64
    StartScan,      // 177 by 49
    Optimize,       // 177 by 49
    CancelScan,     // 177 by 49
    MakeRepairs,    // 177 by 49
    ProblemReport,  // 177 by 49
    DontRepair,     // 177 by 49
};

enum class ButtonState { Normal, Hover, Pressed };

// The resource name of one picture, such as "START_SCAN_HOVER".
std::string resourceName(SkinButton button, ButtonState state);

// Decodes the background from the program's resources; empty when missing.
win::Bitmap loadBackground(HMODULE module = nullptr);
// Gives the button its three pictures from the program's resources. False
// when one of them is missing or does not decode; the button keeps those
// that did.
bool applyButtonPictures(TImageButton& button, SkinButton which, HMODULE module = nullptr);

}  // namespace skin
