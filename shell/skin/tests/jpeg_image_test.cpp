#include "shell/skin/jpeg_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/skin/tests/solid_jpeg.h"

using skin::BgrImage;
using skin::decodeJpeg;
using skin_testing::closeTo;
using skin_testing::encodeSolid;

namespace {

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

    // A caller's own smaller limit holds on either side.
    const auto wide = encodeSolid(40, 8, 1, 2, 3);
    EXPECT_TRUE(decodeJpeg(wide.data(), wide.size(), image, &error, 40));
    EXPECT_FALSE(decodeJpeg(wide.data(), wide.size(), image, &error, 39));
    EXPECT_TRUE(image.pixels.empty());
}

}  // namespace
