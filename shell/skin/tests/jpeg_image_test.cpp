#include "shell/skin/jpeg_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

#include "common/ui/window.h"
#include "shell/skin/jpeg_bitmap.h"
#include "shell/skin/skin_art.h"

using skin::BgrImage;
using skin::decodeJpeg;

namespace {

// A JPEG of the given size in one colour (red, green, blue), made with the
// library's own encoder.
std::vector<unsigned char> encodeSolid(int width, int height, unsigned char r, unsigned char g,
                                       unsigned char b, bool grey = false) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width) * info.input_components);
    for (int x = 0; x < width; ++x) {
        if (grey) {
            row[x] = r;
        } else {
            row[x * 3] = r;
            row[x * 3 + 1] = g;
            row[x * 3 + 2] = b;
        }
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> data(buffer, buffer + size);
    free(buffer);
    return data;
}

bool closeTo(int a, int b) {
    return std::abs(a - b) <= 3;
}

// Offset of the frame header's height field (after FF C0/C2, length, precision).
size_t frameSizeOffset(const std::vector<unsigned char>& jpeg) {
    for (size_t i = 0; i + 8 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) return i + 5;
    return 0;
}

TEST(JpegDecode, GivesRowsInBlueGreenRedOrder) {
    const auto jpeg = encodeSolid(21, 9, 200, 40, 10);
    BgrImage image;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), image));
    EXPECT_EQ(image.width, 21);
    EXPECT_EQ(image.height, 9);
    ASSERT_EQ(image.pixels.size(), 21u * 9u * 3u);
    const unsigned char* last = &image.pixels[image.pixels.size() - 3];
    for (const unsigned char* p : {static_cast<const unsigned char*>(image.pixels.data()), last}) {
        EXPECT_TRUE(closeTo(p[0], 10)) << int(p[0]);
        EXPECT_TRUE(closeTo(p[1], 40)) << int(p[1]);
        EXPECT_TRUE(closeTo(p[2], 200)) << int(p[2]);
    }

    // As a bitmap, whose rows are padded to four bytes (21 pixels: 63 bytes).
    win::Bitmap bitmap = skin::bitmapFromJpeg(jpeg.data(), jpeg.size());
    ASSERT_TRUE(bitmap);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    const COLORREF corner = GetPixel(dc, 20, 8);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(closeTo(GetRValue(corner), 200) && closeTo(GetGValue(corner), 40) &&
                closeTo(GetBValue(corner), 10));

    const auto greyJpeg = encodeSolid(8, 8, 90, 0, 0, true);
    ASSERT_TRUE(decodeJpeg(greyJpeg.data(), greyJpeg.size(), image));
    EXPECT_TRUE(closeTo(image.pixels[0], 90) && closeTo(image.pixels[1], 90) &&
                closeTo(image.pixels[2], 90));
}

TEST(JpegDecode, RefusesDataThatIsNoWholeJpegWithoutEndingTheProcess) {
    BgrImage image;
    std::string error;
    EXPECT_FALSE(decodeJpeg(nullptr, 0, image, &error));
    const unsigned char text[] = "GIF89a, not a JPEG at all";
    EXPECT_FALSE(decodeJpeg(text, sizeof text, image, &error));
    EXPECT_FALSE(error.empty());

    const auto jpeg = encodeSolid(64, 64, 1, 2, 3);
    // Cut short in the middle of the picture data: libjpeg would fill the
    // rest with grey.
    EXPECT_FALSE(decodeJpeg(jpeg.data(), jpeg.size() / 2, image, &error));
    EXPECT_TRUE(image.pixels.empty());
    EXPECT_EQ(image.width, 0);
}

TEST(JpegDecode, RefusesAHugeDeclaredSizeBeforeAllocating) {
    auto jpeg = encodeSolid(16, 16, 1, 2, 3);
    const size_t at = frameSizeOffset(jpeg);
    ASSERT_NE(at, 0u);
    jpeg[at] = 0xEA;  // height 60000
    jpeg[at + 1] = 0x60;
    BgrImage image;
    std::string error;
    EXPECT_FALSE(decodeJpeg(jpeg.data(), jpeg.size(), image, &error));
    EXPECT_EQ(error, "JPEG picture too large");
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
    TImageButton& button = window.add<TImageButton>(ui::Bounds{16, 80, 177, 49});
    ASSERT_TRUE(skin::applyButtonPictures(button, SkinButton::StartScan));
    EXPECT_EQ(button.bitmap(), button.normalPicture());
    EXPECT_NE(button.hoverPicture(), nullptr);
    EXPECT_NE(button.pressedPicture(), nullptr);
}

}  // namespace
