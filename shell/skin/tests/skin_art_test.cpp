// The skin's pictures as the program embeds them.
#include "shell/skin/skin_art.h"

#include <gtest/gtest.h>

#include "common/ui/window.h"
#include "shell/skin/image_button.h"
#include "shell/skin/jpeg_bitmap.h"
#include "shell/skin/tests/solid_jpeg.h"

namespace {

using skin_testing::closeTo;
using skin_testing::encodeSolid;

TEST(JpegBitmap, RowsArePaddedAndColoursKept) {
    const auto jpeg = encodeSolid(21, 9, 200, 40, 10);
    // A bitmap, whose rows are padded to four bytes (21 pixels: 63 bytes).
    win::Bitmap bitmap = skin::bitmapFromJpeg(jpeg.data(), jpeg.size());
    ASSERT_TRUE(bitmap);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    const COLORREF corner = GetPixel(dc, 20, 8);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(closeTo(GetRValue(corner), 200) && closeTo(GetGValue(corner), 40) &&
                closeTo(GetBValue(corner), 10));
}

TEST(SkinArt, EveryPictureIsEmbeddedAndHasItsButtonsSize) {
    auto sizeOf = [](const win::Bitmap& bitmap) {
        BITMAP info = {};
        GetObjectA(bitmap.get(), sizeof info, &info);
        return std::make_pair(static_cast<int>(info.bmWidth), static_cast<int>(info.bmHeight));
    };
    win::Bitmap background = skin::loadBackground();
    ASSERT_TRUE(background);
    EXPECT_EQ(sizeOf(background), std::make_pair(733, 553));

    using skin::SkinButton;
    const struct {
        SkinButton button;
        int width, height;
    } buttons[] = {
        {SkinButton::Restore, 121, 30},     {SkinButton::Update, 89, 36},
        {SkinButton::Minimize, 33, 33},     {SkinButton::Close, 33, 33},
        {SkinButton::WindowsInfo, 197, 62}, {SkinButton::Products, 196, 60},
        {SkinButton::SupportChat, 195, 64}, {SkinButton::StartScan, 177, 49},
        {SkinButton::Optimize, 177, 49},    {SkinButton::CancelScan, 177, 49},
        {SkinButton::MakeRepairs, 177, 49}, {SkinButton::ProblemReport, 177, 49},
        {SkinButton::DontRepair, 177, 49},
    };
    for (const auto& b : buttons) {
        for (auto state :
             {skin::ButtonState::Normal, skin::ButtonState::Hover, skin::ButtonState::Pressed}) {
            const std::string name = skin::resourceName(b.button, state);
            win::Bitmap picture = skin::loadJpegResource(name.c_str());
            ASSERT_TRUE(picture) << name;
            EXPECT_EQ(sizeOf(picture), std::make_pair(b.width, b.height)) << name;
        }
    }
    EXPECT_FALSE(skin::loadJpegResource("NO_SUCH_PICTURE"));

    ui::WindowOptions options;
    ui::Window window(options);
    skin::TImageButton& button = window.add<skin::TImageButton>(ui::Bounds{16, 80, 177, 49});
    ASSERT_TRUE(skin::applyButtonPictures(button, SkinButton::StartScan));
    EXPECT_EQ(button.bitmap(), button.normalPicture());
    EXPECT_NE(button.hoverPicture(), nullptr);
    EXPECT_NE(button.pressedPicture(), nullptr);
}

}  // namespace
