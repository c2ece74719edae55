#include "image/resample.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmora::image {
namespace {

TEST(Resample, BilinearSampleTruncatesAndLimits) {
    EXPECT_EQ(bilinearSample(10, 20, 30, 40, 0, 0), 10);
    EXPECT_EQ(bilinearSample(10, 20, 30, 40, 1, 0), 20);
    EXPECT_EQ(bilinearSample(10, 20, 30, 40, 0, 1), 30);
    EXPECT_EQ(bilinearSample(10, 20, 30, 40, 1, 1), 40);
    EXPECT_EQ(bilinearSample(10, 20, 30, 40, 0.5, 0.5), 25);
    EXPECT_EQ(bilinearSample(0, 255, 0, 255, 0.999, 0), 254); // 254.745 truncated
    EXPECT_EQ(bilinearSample(0, 255, 0, 255, 1.5, 0), 255);   // past the corner
    EXPECT_EQ(bilinearSample(100, 0, 100, 0, 1.5, 0), 0);
}

TEST(Resample, TwoByTwoIntoFourByFourSamplesHalfPixelSteps) {
    // Blue 0 and 100 across, green 0 and 200 down, red constant.
    DibImage source;
    ASSERT_TRUE(source.create(2, 2));
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 2; ++x) {
            uint8_t* p = source.row(y) + 3 * x;
            p[0] = static_cast<uint8_t>(100 * x);
            p[1] = static_cast<uint8_t>(200 * y);
            p[2] = 77;
        }
    }
    DibImage out;
    ASSERT_TRUE(out.create(4, 4));
    resampleFrom(out, source);
    // Positions 0, 0.5, 1, 1.5: from 1 on, the last column (and row) is used for both sides.
    const uint8_t across[4] = {0, 50, 100, 100};
    const uint8_t down[4] = {0, 100, 200, 200};
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const uint8_t* p = out.row(y) + 3 * x;
            EXPECT_EQ(p[0], across[x]) << x << "," << y;
            EXPECT_EQ(p[1], down[y]) << x << "," << y;
            EXPECT_EQ(p[2], 77);
        }
    }
}

TEST(Resample, ProgressEveryThirtyTwoRowsOfEachPassThenDone) {
    struct Case {
        int32_t height;
        std::vector<int> want;
    };
    const Case cases[] = {
        {4, {0, 33, 66, 100}},
        {70, {0, 15, 30, 33, 48, 63, 66, 81, 96, 100}},
    };
    DibImage source;
    ASSERT_TRUE(source.create(3, 3));
    for (const Case& c : cases) {
        DibImage out;
        ASSERT_TRUE(out.create(5, c.height));
        std::vector<int> seen;
        resampleFrom(out, source, [&seen](int percent) { seen.push_back(percent); });
        EXPECT_EQ(seen, c.want) << "height " << c.height;
    }
}

TEST(Resample, EmptyImagesAreLeftAloneWithoutProgress) {
    DibImage empty, out;
    ASSERT_TRUE(out.create(4, 4));
    out.fillColor(0x010203);
    int calls = 0;
    resampleFrom(out, empty, [&calls](int) { ++calls; });
    resampleFrom(empty, out, [&calls](int) { ++calls; });
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(out.row(3)[9], 1); // blue of 0x010203
}

} // namespace
} // namespace velmora::image
