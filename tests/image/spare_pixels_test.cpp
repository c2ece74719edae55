#include "image/spare_pixels.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::image {
namespace {

// A picture of the given size whose pixels are all set, so that reuse must clear them.
void makeWhite(DibImage& image, int32_t width, int32_t height) {
    ASSERT_TRUE(image.create(width, height));
    std::memset(image.bits(), 0xFF, static_cast<size_t>(image.stride()) * image.height());
}

TEST(SparePixels, ReleasedBufferServesTheNextPictureOfAboutItsSizeWithinTheCap) {
    dropSparePixels();
    DibImage first;
    makeWhite(first, 2000, 1000);
    const uint8_t* buffer = first.bits();
    keepSparePixels(first);
    EXPECT_FALSE(first.hasPixels());
    EXPECT_GE(sparePixelBytes(), size_t{6'000'000});

    DibImage tooSmall; // a buffer much larger than needed is left for a picture it suits
    ASSERT_TRUE(tooSmall.create(1000, 1000));
    EXPECT_NE(tooSmall.bits(), buffer);
    DibImage next;
    ASSERT_TRUE(next.create(1900, 1000));
    EXPECT_EQ(next.bits(), buffer);
    EXPECT_EQ(sparePixelBytes(), size_t{0});
    const uint8_t* row = next.row(999);
    EXPECT_TRUE(row[0] == 0 && std::memcmp(row, row + 1, 3 * 1900 - 1) == 0) << "black";

    DibImage large[3]; // about 100 MiB each, never touched
    for (DibImage& image : large) {
        ASSERT_TRUE(image.create(10000, 3500));
    }
    for (DibImage& image : large) {
        keepSparePixels(image);
    }
    EXPECT_LE(sparePixelBytes(), kSparePixelCap);
    EXPECT_GE(sparePixelBytes(), size_t{200'000'000}) << "the two newest stay";
    dropSparePixels();
    EXPECT_EQ(sparePixelBytes(), size_t{0});
}

} // namespace
} // namespace velmora::image
