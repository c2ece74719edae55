#include "edit/filter.h"

#include "edit_pictures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace velmora::edit {
namespace {

using FilterFunction = bool (*)(image::DibImage&, const Progress&);

struct NamedFilter {
    const char* name;
    FilterFunction filter;
};

const NamedFilter kFilters[] = {{"blur", blur}, {"sharpen", sharpen}, {"emboss", emboss}};

TEST(FilterTest, NarrowPicturesStayAsTheyAreWithoutProgress) {
    for (const NamedFilter& f : kFilters) {
        for (const auto& [w, h] : {std::pair{2, 9}, std::pair{9, 2}, std::pair{1, 1}}) {
            image::DibImage original, picture;
            test::makePattern(original, w, h);
            test::makePattern(picture, w, h);
            std::vector<int> steps;
            EXPECT_TRUE(f.filter(picture, [&steps](int p) { steps.push_back(p); }));
            EXPECT_EQ(test::snapshot(picture), test::snapshot(original)) << f.name;
            EXPECT_TRUE(steps.empty()) << f.name;
        }
    }
}

TEST(FilterTest, UniformPictures) {
    struct Case {
        NamedFilter filter;
        uint8_t inside; // what a uniform 77 becomes away from the border
    };
    for (const Case& c : {Case{kFilters[0], 77}, Case{kFilters[1], 77}, Case{kFilters[2], 128}}) {
        image::DibImage picture;
        test::makeUniform(picture, 6, 5, 77, 77, 77);
        ASSERT_TRUE(c.filter.filter(picture, {}));
        for (int32_t y = 0; y < 5; ++y) {
            for (int32_t x = 0; x < 6; ++x) {
                const bool border = x == 0 || y == 0 || x == 5 || y == 4;
                const uint8_t expected = border ? 77 : c.inside;
                const uint8_t* p = test::pixelAt(picture, x, y);
                EXPECT_TRUE(p[0] == expected && p[1] == expected && p[2] == expected)
                    << c.filter.name << " at " << x << "," << y;
            }
        }
    }
}

// The kernels written out directly on an unfiltered copy, one channel byte at a time.
int reference(const char* name, const image::DibImage& in, int32_t x, int32_t y, int c) {
    const auto at = [&](int32_t dx, int32_t dy) { return int{in.row(y + dy)[3 * (x + dx) + c]}; };
    const auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    if (std::strcmp(name, "blur") == 0) {
        return (at(-1, -1) + at(0, -1) + at(1, -1) + at(-1, 0) + at(1, 0) + at(-1, 1) + at(0, 1) +
                at(1, 1)) /
               8;
    }
    if (std::strcmp(name, "sharpen") == 0) {
        return clamp(5 * at(0, 0) - at(-1, 0) - at(1, 0) - at(0, -1) - at(0, 1));
    }
    return clamp((at(-1, -1) + at(0, -1) + at(-1, 0) - 2 * at(1, 0) - at(0, 1)) / 4 + 128);
}

TEST(FilterTest, KernelsOnAPatternKeepTheBorderAndReportProgress) {
    constexpr int32_t W = 13, H = 70;
    for (const NamedFilter& f : kFilters) {
        image::DibImage original, picture;
        test::makePattern(original, W, H, 3);
        test::makePattern(picture, W, H, 3);
        std::vector<int> steps;
        ASSERT_TRUE(f.filter(picture, [&steps](int p) { steps.push_back(p); }));
        for (int32_t y = 0; y < H; ++y) {
            for (int32_t x = 0; x < W; ++x) {
                for (int c = 0; c < 3; ++c) {
                    const bool border = x == 0 || y == 0 || x == W - 1 || y == H - 1;
                    const int expected =
                        border ? original.row(y)[3 * x + c] : reference(f.name, original, x, y, c);
                    ASSERT_EQ(picture.row(y)[3 * x + c], expected)
                        << f.name << " at " << x << "," << y << " channel " << c;
                }
            }
        }
        // Rows 32 and 64 of each channel: j * 33 / 70 + c * 33, then 100.
        EXPECT_EQ(steps, (std::vector<int>{15, 30, 48, 63, 81, 96, 100})) << f.name;
    }
}

} // namespace
} // namespace velmora::edit
