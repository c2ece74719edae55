#include "image/smooth_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace velmora::image {
namespace {

void fillRandom(DibImage& image, unsigned seed) {
    std::mt19937 random(seed);
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < 3 * image.width(); ++x) {
            image.row(y)[x] = static_cast<uint8_t>(random());
        }
    }
}

void setGrey(DibImage& image, int32_t x, int32_t y, uint8_t value) {
    std::memset(image.row(y) + 3 * x, value, 3);
}

uint8_t blue(const DibImage& image, int32_t x, int32_t y) {
    return image.row(y)[3 * x];
}

// The scaler written the plain way: positions accumulated pixel by pixel, every destination
// pixel visited, each byte computed on its own.
void referenceScale(DibImage& dst, PixelRect d, const DibImage& src, PixelRect s) {
    const ScaleSteps steps = smoothScaleSteps(s.width, s.height, d.width, d.height);
    const int32_t right = s.x + s.width, bottom = s.y + s.height;
    int64_t Y = int64_t{s.y} << 16;
    for (int32_t i = d.y; i < d.y + d.height; ++i, Y += steps.y) {
        if (i < 0 || i >= dst.height()) {
            continue;
        }
        const int32_t t = static_cast<int32_t>(std::min<int64_t>(Y >> 16, bottom - 1));
        const int e = static_cast<int>((Y >> 8) & 0xFF);
        int64_t X = int64_t{s.x} << 16;
        for (int32_t j = d.x; j < d.x + d.width; ++j, X += steps.x) {
            if (j < 0 || j >= dst.width()) {
                continue;
            }
            const int32_t b = static_cast<int32_t>(std::min<int64_t>(X >> 16, right - 1));
            const int c = static_cast<int>((X >> 8) & 0xFF);
            uint8_t* out = dst.row(i) + 3 * j;
            const uint8_t* p = src.row(t) + 3 * b;
            if (b == 0 || t == 0 || b == right - 1 || t == bottom - 1) {
                std::memcpy(out, p, 3);
                continue;
            }
            const uint8_t* q = src.row(t + 1) + 3 * b;
            for (int ch = 0; ch < 3; ++ch) {
                out[ch] = static_cast<uint8_t>(((p[ch] * (255 - c) + p[ch + 3] * c) * (255 - e) +
                                                (q[ch] * (255 - c) + q[ch + 3] * c) * e) >>
                                               16);
            }
        }
    }
}

bool samePixels(const DibImage& a, const DibImage& b) {
    for (int32_t y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.row(y), b.row(y), static_cast<size_t>(3) * a.width()) != 0) {
            return false;
        }
    }
    return true;
}

TEST(SmoothScale, StepsAreTruncated1616Ratios) {
    EXPECT_EQ(smoothScaleSteps(1000, 800, 500, 400).x, 131072);
    EXPECT_EQ(smoothScaleSteps(1000, 800, 500, 400).y, 131072);
    EXPECT_EQ(smoothScaleSteps(5, 3, 3, 2).x, 109226); // 109226.67
    EXPECT_EQ(smoothScaleSteps(5, 3, 3, 2).y, 98304);
    EXPECT_EQ(smoothScaleSteps(100, 100, 0, 10).x, 0); // nothing to draw
}

TEST(SmoothScale, WeightsAreEightBitFractionsShiftedBySixteen) {
    // Every row holds 0, 10, 20, 30, 40; 5 x 5 into 3 x 3 steps by 1.6667 (fractions 170, 85).
    DibImage source;
    ASSERT_TRUE(source.create(5, 5));
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            setGrey(source, x, y, static_cast<uint8_t>(10 * x));
        }
    }
    DibImage out;
    ASSERT_TRUE(out.create(3, 3));
    smoothScaleFrom(out, {0, 0, 3, 3}, source, {0, 0, 5, 5});
    const uint8_t want[3][3] = {
        {0, 10, 30}, // source row 0: nearest pixel
        {0, 16, 33}, // (10*85 + 20*170) * 255 >> 16 = 16, (30*170 + 40*85) * 255 >> 16 = 33
        {0, 16, 33},
    };
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(blue(out, x, y), want[y][x]) << x << "," << y;
        }
    }
}

TEST(SmoothScale, WhiteDarkensInsideAndKeepsItsOuterRowAndColumn) {
    DibImage white;
    ASSERT_TRUE(white.create(1000, 800));
    white.fillColor(0xFFFFFF);
    DibImage out;
    ASSERT_TRUE(out.create(500, 400));
    smoothScaleFrom(out, {0, 0, 500, 400}, white, {0, 0, 1000, 800});
    EXPECT_EQ(out.row(0)[0], 255);         // source row 0
    EXPECT_EQ(out.row(200)[0], 255);       // source column 0
    EXPECT_EQ(out.row(200)[3 * 250], 253); // inside
    EXPECT_EQ(out.row(399)[3 * 499 + 2], 253);
    // Enlarged, the last destination row and column fall on the last source ones.
    DibImage big;
    ASSERT_TRUE(big.create(2000, 1600));
    smoothScaleFrom(big, {0, 0, 2000, 1600}, white, {0, 0, 1000, 800});
    EXPECT_EQ(big.row(1599)[3 * 1000], 255);
    EXPECT_EQ(big.row(800)[3 * 1999], 255);
    EXPECT_EQ(big.row(800)[3 * 1000], 253);
}

TEST(SmoothScale, MatchesThePlainScalerForReductionsEnlargementsAndClipping) {
    struct Case {
        PixelRect source;
        PixelRect destination;
    };
    const Case cases[] = {
        {{0, 0, 97, 61}, {0, 0, 40, 25}},     // reduction
        {{0, 0, 97, 61}, {-300, 5, 400, 30}}, // clipped on the left
        {{0, 0, 97, 61}, {10, -20, 39, 90}},  // clipped top and bottom
        {{3, 2, 50, 40}, {0, 0, 37, 23}},     // part of the source
        {{0, 0, 97, 61}, {0, 0, 150, 100}},   // enlargement: several nearest rows
        {{0, 0, 97, 61}, {5, 5, 3, 2}},       // tiny
        {{0, 0, 97, 61}, {60, 30, 1, 1}},
        // Strong reductions, most source pixels skipped, with widths that leave every remainder
        // of a group of pixels, and the right edge of the source and destination reached.
        {{0, 0, 97, 61}, {0, 0, 24, 15}},
        {{0, 0, 97, 61}, {1, 2, 21, 13}},
        {{0, 0, 97, 61}, {0, 0, 11, 6}},
        {{0, 0, 97, 61}, {0, 0, 7, 5}},
        {{0, 0, 97, 61}, {0, 0, 6, 5}},
        {{0, 0, 97, 61}, {0, 0, 5, 5}},
        {{1, 1, 96, 60}, {0, 0, 19, 17}},
        {{40, 20, 57, 41}, {50, 40, 14, 8}},  // ends at the destination's right edge
        {{0, 0, 97, 61}, {45, 0, 25, 48}},    // clipped on the right, rows kept
        {{0, 0, 97, 61}, {-13, -9, 23, 16}},  // clipped on the left and top
        {{20, 10, 77, 51}, {30, 20, 34, 28}}, // to the bottom right corners of both
    };
    // Rows padded to four bytes, and rows without padding, where a read past the last byte of
    // the last row leaves the picture.
    for (const int32_t width : {97, 96}) {
        DibImage source;
        ASSERT_TRUE(source.create(width, 61));
        fillRandom(source, 7);
        for (Case c : cases) {
            c.source.width = std::min(c.source.width, width - c.source.x);
            DibImage got, want;
            ASSERT_TRUE(got.create(64, 48));
            ASSERT_TRUE(want.create(64, 48));
            fillRandom(got, 3);
            fillRandom(want, 3);
            smoothScaleFrom(got, c.destination, source, c.source);
            referenceScale(want, c.destination, source, c.source);
            EXPECT_TRUE(samePixels(got, want))
                << "source " << width << " wide, destination " << c.destination.x << ","
                << c.destination.y << " " << c.destination.width << "x" << c.destination.height;
        }
    }
}

TEST(SmoothScale, NegativeOriginDrawsOnlyTheVisiblePart) {
    DibImage source;
    ASSERT_TRUE(source.create(1000, 800));
    fillRandom(source, 11);
    DibImage whole, clipped;
    ASSERT_TRUE(whole.create(500, 400));
    ASSERT_TRUE(clipped.create(240, 268));
    smoothScaleFrom(whole, {0, 0, 500, 400}, source, {0, 0, 1000, 800});
    smoothScaleFrom(clipped, {-300, -50, 500, 400}, source, {0, 0, 1000, 800});
    for (int32_t y = 0; y < 268; ++y) {
        // Columns 0..199 show whole's 300..499; the rest stays black.
        ASSERT_EQ(std::memcmp(clipped.row(y), whole.row(y + 50) + 3 * 300, 3 * 200), 0) << y;
        for (int32_t x = 200; x < 240; ++x) {
            ASSERT_EQ(blue(clipped, x, y), 0) << x << "," << y;
        }
    }
}

TEST(SmoothScale, RejectsASourceRectangleOutsideTheSource) {
    DibImage source, out;
    ASSERT_TRUE(source.create(20, 20));
    source.fillColor(0xFFFFFF);
    ASSERT_TRUE(out.create(10, 10));
    const PixelRect outside[] = {{-1, 0, 20, 20}, {0, 0, 21, 20}, {5, 5, 16, 10}, {0, 0, 0, 5}};
    for (PixelRect r : outside) {
        smoothScaleFrom(out, {0, 0, 10, 10}, source, r);
    }
    bilinearScaleRows({source.bits(), 20, 20, source.stride()}, {0, 0, 20, 20},
                      {out.bits(), 10, 10, out.stride()}, {0, 0, 10, 10}, -65536, 65536);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            ASSERT_EQ(blue(out, x, y), 0);
        }
    }
}

} // namespace
} // namespace velmora::image
