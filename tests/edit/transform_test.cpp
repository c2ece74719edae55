#include "edit/transform.h"

#include "edit_pictures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::edit {
namespace {

using test::makePattern;
using test::pixelAt;
using test::snapshot;

TEST(RotateTest, MovesEveryPixelAndFourTurnsGiveThePictureBack) {
    struct Case {
        int32_t w, h;
    };
    for (const Case c : {Case{1, 1}, Case{1, 7}, Case{5, 1}, Case{3, 2}, Case{37, 70}}) {
        for (const bool clockwise : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " clockwise " << clockwise);
            image::DibImage original, turned;
            makePattern(original, c.w, c.h);
            makePattern(turned, c.w, c.h);
            ASSERT_TRUE(clockwise ? rotateRight(turned) : rotateLeft(turned));
            ASSERT_EQ(turned.width(), c.h);
            ASSERT_EQ(turned.height(), c.w);
            for (int32_t i = 0; i < c.w; ++i) {
                for (int32_t j = 0; j < c.h; ++j) {
                    const uint8_t* expected = clockwise ? pixelAt(original, i, c.h - 1 - j)
                                                        : pixelAt(original, c.w - 1 - i, j);
                    ASSERT_EQ(std::memcmp(pixelAt(turned, j, i), expected, 3), 0) << i << "," << j;
                }
            }
            for (int turn = 1; turn < 4; ++turn) {
                ASSERT_TRUE(clockwise ? rotateRight(turned) : rotateLeft(turned));
            }
            EXPECT_EQ(snapshot(turned), snapshot(original));
        }
    }
}

TEST(RotateTest, LeftUndoesRightAndAnEmptyImageStaysEmpty) {
    image::DibImage original, turned, empty;
    makePattern(original, 9, 4);
    makePattern(turned, 9, 4);
    ASSERT_TRUE(rotateRight(turned));
    ASSERT_TRUE(rotateLeft(turned));
    EXPECT_EQ(snapshot(turned), snapshot(original));
    EXPECT_FALSE(rotateLeft(empty));
    EXPECT_FALSE(empty.hasPixels());
}

TEST(FlipTest, MirrorsAndTwiceGivesThePictureBack) {
    for (const int32_t side : {1, 2, 5, 6, 32, 33, 70}) { // blocks of 16 pixels and the rest
        SCOPED_TRACE(side);
        image::DibImage original, vertical, horizontal;
        makePattern(original, side, side + 1);
        makePattern(vertical, side, side + 1);
        makePattern(horizontal, side, side + 1);
        flipVertical(vertical);
        flipHorizontal(horizontal);
        for (int32_t y = 0; y < side + 1; ++y) {
            // Whole rows move, padding included.
            EXPECT_EQ(std::memcmp(vertical.row(y), original.row(side - y), original.stride()), 0);
            for (int32_t x = 0; x < side; ++x) {
                EXPECT_EQ(
                    std::memcmp(pixelAt(horizontal, x, y), pixelAt(original, side - 1 - x, y), 3),
                    0);
            }
        }
        flipVertical(vertical);
        flipHorizontal(horizontal);
        EXPECT_EQ(snapshot(vertical), snapshot(original));
        EXPECT_EQ(snapshot(horizontal), snapshot(original));
    }
}

TEST(ResizeTest, SameSizeIsExactAndProgressRunsPerChannel) {
    image::DibImage original, resized;
    makePattern(original, 50, 70);
    makePattern(resized, 50, 70);
    std::vector<int> steps;
    ASSERT_TRUE(resize(resized, 50, 70, [&steps](int percent) { steps.push_back(percent); }));
    EXPECT_EQ(snapshot(resized), snapshot(original));
    // Rows 0, 32 and 64 of each pass, then 100.
    EXPECT_EQ(steps, (std::vector<int>{0, 15, 30, 33, 48, 63, 66, 81, 96, 100}));

    ASSERT_TRUE(resize(resized, 7, 3));
    EXPECT_EQ(resized.width(), 7);
    EXPECT_EQ(resized.height(), 3);
}

TEST(ResizeTest, NoMemoryForTheNewPictureLeavesTheOldOne) {
    image::DibImage original, picture;
    makePattern(original, 6, 4);
    makePattern(picture, 6, 4);
    EXPECT_FALSE(resize(picture, 5000, 100000)); // over the pixel limit
    EXPECT_FALSE(rotateLeft(picture) && rotateRight(picture) && resize(picture, 6, 0));
    EXPECT_EQ(snapshot(picture), snapshot(original));
}

TEST(ResizeTest, KeepRatioHeightUsesIntegerDivision) {
    EXPECT_EQ(keepRatioHeight(5000, 10, 20), 10000);
    EXPECT_EQ(keepRatioHeight(100, 3, 2), 66);
    EXPECT_EQ(keepRatioHeight(1, 40, 3), 0);
}

TEST(TrimTest, ClampsInOrderAndCopiesTheRectangle) {
    struct Case {
        TrimRect in;
        TrimRect expected;
    };
    const Case cases[] = {
        {{2, 1, 3, 2}, {2, 1, 3, 2}},   // inside
        {{-3, -1, 4, 3}, {0, 0, 4, 3}}, // negative origin: size kept
        {{8, 5, 9, 9}, {8, 5, 2, 1}},   // runs over the right and bottom
        {{12, 9, 4, 4}, {10, 6, 0, 0}}, // starts past the picture: empty
        {{3, 2, 0, 0}, {3, 2, 0, 0}},   // a tap
    };
    for (const Case& c : cases) {
        const TrimRect r = clampTrim(c.in, 10, 6);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.width, c.expected.width);
        EXPECT_EQ(r.height, c.expected.height);

        image::DibImage original, trimmed;
        makePattern(original, 10, 6);
        makePattern(trimmed, 10, 6);
        const bool empty = r.width <= 0 || r.height <= 0;
        EXPECT_EQ(static_cast<bool>(trim(trimmed, c.in)), !empty);
        if (empty) {
            EXPECT_EQ(snapshot(trimmed), snapshot(original));
            continue;
        }
        ASSERT_EQ(trimmed.width(), r.width);
        ASSERT_EQ(trimmed.height(), r.height);
        for (int32_t y = 0; y < r.height; ++y) {
            EXPECT_EQ(
                std::memcmp(trimmed.row(y), pixelAt(original, r.left, r.top + y), 3 * r.width), 0);
        }
    }
}

} // namespace
} // namespace velmora::edit
