#include "shell/skin/skin_art.h"

#include "shell/skin/jpeg_bitmap.h"

namespace skin {

const char kBackgroundResource[] = "SKIN_BACKGROUND";

namespace {

const char* stem(SkinButton button) {
    switch (button) {
        case SkinButton::Restore:
            return "RESTORE";
        case SkinButton::Update:
            return "UPDATE";
        case SkinButton::Minimize:
            return "MINIMIZE";
        case SkinButton::Close:
            return "CLOSE";
        case SkinButton::WindowsInfo:
            return "WINDOWS_INFO";
        case SkinButton::Products:
            return "PRODUCTS";
        case SkinButton::SupportChat:
            return "SUPPORT_CHAT";
        case SkinButton::StartScan:
            return "START_SCAN";
        case SkinButton::Optimize:
            return "OPTIMIZE";
        case SkinButton::CancelScan:
            return "CANCEL_SCAN";
        case SkinButton::MakeRepairs:
            return "MAKE_REPAIRS";
        case SkinButton::ProblemReport:
            return "PROBLEM_REPORT";
        case SkinButton::DontRepair:
            return "DONT_REPAIR";
    }
    return "";
}

}  // namespace

std::string resourceName(SkinButton button, ButtonState state) {
    const char* suffix = state == ButtonState::Normal  ? "_NORMAL"
                         : state == ButtonState::Hover ? "_HOVER"
                                                       : "_PRESSED";
    return std::string(stem(button)) + suffix;
}

win::Bitmap loadBackground(HMODULE module) {
    return loadJpegResource(kBackgroundResource, module);
}

bool applyButtonPictures(TImageButton& button, SkinButton which, HMODULE module) {
    bool all = true;
    win::Bitmap picture = loadJpegResource(resourceName(which, ButtonState::Hover).c_str(), module);
    if (picture) button.setHoverPicture(picture.get());
    all = all && picture;
    picture = loadJpegResource(resourceName(which, ButtonState::Pressed).c_str(), module);
    if (picture) button.setPressedPicture(picture.get());
    all = all && picture;
    picture = loadJpegResource(resourceName(which, ButtonState::Normal).c_str(), module);
    if (picture) button.setNormalPicture(picture.get());
    return all && picture;
}

}  // namespace skin
