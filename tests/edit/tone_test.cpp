#include "edit/tone.h"

#include "edit_pictures.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>

namespace velmora::edit {
namespace {

using Bgr = std::array<uint8_t, 3>;

// Runs op on a 3x2 picture of one colour and returns the top-left pixel; checks that every
// pixel came out the same and the row padding stayed 0.
Bgr applyToColour(const std::function<void(image::DibImage&)>& op, Bgr colour) {
    image::DibImage picture;
    test::makeUniform(picture, 3, 2, colour[0], colour[1], colour[2]);
    op(picture);
    const uint8_t* first = test::pixelAt(picture, 0, 0);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(std::memcmp(test::pixelAt(picture, x, y), first, 3), 0);
        }
        EXPECT_EQ(picture.row(y)[9] | picture.row(y)[10] | picture.row(y)[11], 0);
    }
    return {first[0], first[1], first[2]};
}

struct ToneCase {
    const char* name;
    std::function<void(image::DibImage&)> op;
    Bgr in;
    Bgr out;
};

TEST(ToneTest, ByteArithmetic) {
    const auto bright = [](int v) { return [v](image::DibImage& i) { brightness(i, v); }; };
    const auto contr = [](int v) { return [v](image::DibImage& i) { contrast(i, v); }; };
    const auto thresh = [](int v) { return [v](image::DibImage& i) { threshold(i, v); }; };
    const ToneCase cases[] = {
        {"brightness at the initial 128 adds 28", bright(128), {0, 100, 230}, {28, 128, 255}},
        {"brightness 100 changes nothing", bright(100), {0, 77, 255}, {0, 77, 255}},
        {"brightness 1 subtracts 99", bright(1), {98, 99, 255}, {0, 0, 156}},
        {"brightness 254 adds 154", bright(254), {0, 101, 102}, {154, 255, 255}},
        {"contrast 100 changes nothing", contr(100), {0, 128, 255}, {0, 128, 255}},
        {"contrast 1 pulls to the centre", contr(1), {0, 127, 255}, {126, 127, 128}},
        {"contrast 199 stretches", contr(199), {0, 100, 200}, {0, 72, 255}},
        {"threshold: mean equal is black", thresh(128), {128, 128, 128}, {0, 0, 0}},
        {"threshold: mean 128 by division", thresh(128), {129, 128, 128}, {0, 0, 0}},
        {"threshold: mean above is white", thresh(128), {129, 129, 129}, {255, 255, 255}},
        {"grey keeps black", grey, {0, 0, 0}, {0, 0, 0}},
        {"grey keeps 3", grey, {3, 3, 3}, {3, 3, 3}},
        {"grey keeps 100", grey, {100, 100, 100}, {100, 100, 100}},
        {"grey keeps white", grey, {255, 255, 255}, {255, 255, 255}},
        {"grey truncates 1", grey, {1, 1, 1}, {0, 0, 0}},
        {"grey truncates 2", grey, {2, 2, 2}, {1, 1, 1}},
        {"grey truncates 254", grey, {254, 254, 254}, {253, 253, 253}},
        {"grey weighs blue, green, red", grey, {10, 20, 30}, {21, 21, 21}},
        {"negative", negative, {0, 1, 255}, {255, 254, 0}},
    };
    for (const ToneCase& c : cases) {
        EXPECT_EQ(applyToColour(c.op, c.in), c.out) << c.name;
    }
}

// Every byte at every slider value against the formula written out in double precision.
TEST(ToneTest, ContrastFollowsTheDoubleFormulaEverywhere) {
    for (int value = 1; value <= 199; ++value) {
        image::DibImage picture;
        ASSERT_TRUE(
            picture.create(91, 1)); // 273 bytes: every value, and a tail past 16-byte blocks
        for (int i = 0; i < 273; ++i) {
            picture.row(0)[i] = static_cast<uint8_t>(i);
        }
        contrast(picture, value);
        for (int i = 0; i < 273; ++i) {
            const double s = (i % 256 - 127.5) * (value * 0.01) + 127.5;
            const int expected = s > 255.0 ? 255 : (s < 0.0 ? 0 : static_cast<int>(s));
            ASSERT_EQ(picture.row(0)[i], expected) << "value " << value << " byte " << i % 256;
        }
    }
}

// Wide rows go through blocks of 16 pixels, the rest one pixel at a time: both follow the
// formulas written out directly.
TEST(ToneTest, ThresholdAndGreyOnWideRowsFollowTheFormulas) {
    image::DibImage original, grey1, thresholded;
    test::makePattern(original, 37, 9, 5);
    test::makePattern(grey1, 37, 9, 5);
    test::makePattern(thresholded, 37, 9, 5);
    grey(grey1);
    threshold(thresholded, 101);
    for (int32_t y = 0; y < 9; ++y) {
        for (int32_t x = 0; x < 37; ++x) {
            const uint8_t* p = test::pixelAt(original, x, y);
            const double g = p[1] * 0.587 + p[2] * 0.299 + p[0] * 0.114;
            const auto level = static_cast<uint8_t>(g);
            const uint8_t white = (p[0] + p[1] + p[2]) / 3 > 101 ? 255 : 0;
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(test::pixelAt(grey1, x, y)[c], level) << x << "," << y;
                ASSERT_EQ(test::pixelAt(thresholded, x, y)[c], white) << x << "," << y;
            }
        }
    }
    // Every byte triple with equal channels through the blocks too (the truncation cases).
    image::DibImage ramp;
    ASSERT_TRUE(ramp.create(256, 1));
    for (int v = 0; v < 256; ++v) {
        std::memset(ramp.row(0) + 3 * v, v, 3);
    }
    grey(ramp);
    for (int v = 0; v < 256; ++v) {
        ASSERT_EQ(ramp.row(0)[3 * v], static_cast<uint8_t>(v * 0.587 + v * 0.299 + v * 0.114));
    }
    EXPECT_EQ(ramp.row(0)[3 * 1], 0);
    EXPECT_EQ(ramp.row(0)[3 * 254], 253);
}

TEST(ToneTest, NegativeTwiceGivesThePictureBack) {
    image::DibImage original, picture;
    test::makePattern(original, 7, 5);
    test::makePattern(picture, 7, 5);
    negative(picture);
    EXPECT_NE(test::snapshot(picture), test::snapshot(original));
    negative(picture);
    EXPECT_EQ(test::snapshot(picture), test::snapshot(original));
}

} // namespace
} // namespace velmora::edit
