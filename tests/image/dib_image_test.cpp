#include "image/dib_image.h"

#include "support/recording_message_box.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace velmora::image {
namespace {

TEST(DibImage, StrideRoundsThreeBytesPerPixelUpToFour) {
    const std::pair<int, int> cases[] = {{1, 4}, {2, 8}, {3, 12}, {5, 16}, {4, 12}, {7, 24}};
    for (auto [width, stride] : cases) {
        DibImage image;
        ASSERT_TRUE(image.create(width, 3));
        EXPECT_EQ(image.stride(), stride) << "width " << width;
    }
}

TEST(DibImage, NegativeHeightMakesTopDownImageAndFreshImageIsBlack) {
    DibImage image;
    ASSERT_TRUE(image.create(7, -50));
    EXPECT_EQ(image.height(), 50);
    image.fillColor(0x00332211);
    ASSERT_TRUE(image.create(7, -50)); // reuses the buffer: must be black again
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < 3 * image.width(); ++x) {
            ASSERT_EQ(image.row(y)[x], 0);
        }
    }
}

TEST(DibImage, ReusedBufferIsAtMostHalfAsLargeAgainAsThePicture) {
    DibImage image;
    ASSERT_TRUE(image.create(100, 100));
    const uint8_t* first = image.bits();
    ASSERT_TRUE(image.create(90, 90)); // 1.23 times: kept
    EXPECT_EQ(image.bits(), first);
    EXPECT_EQ(image.capacity(), size_t{300} * 100);
    for (const int side : {70, 2000, 10}) { // 2.0 times smaller, larger, then tiny
        ASSERT_TRUE(image.create(side, side));
        const size_t bytes = static_cast<size_t>(image.stride()) * side;
        EXPECT_GE(image.capacity(), bytes);
        EXPECT_LE(image.capacity(), bytes + bytes / 2) << side;
    }
}

TEST(DibImage, FillColorWritesBlueGreenRedFromColorRef) {
    DibImage image;
    ASSERT_TRUE(image.create(2, 2));
    image.fillColor(0x00112233); // red 0x33, green 0x22, blue 0x11
    EXPECT_EQ(image.row(1)[3], 0x11);
    EXPECT_EQ(image.row(1)[4], 0x22);
    EXPECT_EQ(image.row(1)[5], 0x33);
}

TEST(DibImage, ImpossibleSizesFailWithoutABox) {
    test::RecordingMessageBox boxes;
    DibImage image;
    EXPECT_FALSE(image.create(0, 10));
    EXPECT_FALSE(image.create(60000, 60000)); // over the pixel budget, not an abort
    EXPECT_FALSE(image.hasPixels());
    EXPECT_FALSE(image.create(-5, 10));
    EXPECT_TRUE(boxes.shown.empty());
}

// A size that cannot be had is never stored: the image is left empty, whatever it held.
TEST(DibImage, FailedCreateLeavesAnEmptyImage) {
    test::RecordingMessageBox boxes;
    const std::pair<int, int> sizes[] = {{0, 10}, {70000, 2}, {60000, 60000}, {5, -70000}};
    for (const auto [width, height] : sizes) {
        DibImage image;
        ASSERT_TRUE(image.create(4, 4));
        EXPECT_FALSE(image.create(width, height));
        EXPECT_FALSE(image.hasPixels());
        EXPECT_EQ(image.width(), 0) << width << " x " << height;
        EXPECT_EQ(image.height(), 0) << width << " x " << height;
        EXPECT_EQ(image.stride(), 0);
    }
}

struct FitCase {
    int w, h;         // source
    int x, y, fw, fh; // expected placement in 100 x 120
};

// Marks the source with a distinct colour and finds the bounding box of it in the target.
TEST(DibImage, FitFromPlacesCentredAndKeepsAspect) {
    const FitCase cases[] = {
        {50, 40, 25, 40, 50, 40},   // smaller in both: unscaled copy
        {400, 300, 0, 22, 100, 75}, // wide: full width
        {300, 400, 5, 0, 90, 120},  // tall: full height
        {100, 50, 0, 35, 100, 50},  // equal width still stretches
    };
    for (const auto& c : cases) {
        DibImage source, target;
        ASSERT_TRUE(source.create(c.w, c.h));
        source.fillColor(0x00FFFFFF);
        ASSERT_TRUE(target.create(100, 120));
        target.fitFrom(source);
        int minX = 1000, minY = 1000, maxX = -1, maxY = -1;
        for (int y = 0; y < 120; ++y) {
            for (int x = 0; x < 100; ++x) {
                if (target.row(y)[3 * x] == 0xFF) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
            }
        }
        EXPECT_EQ(minX, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(minY, c.y) << c.w << "x" << c.h;
        EXPECT_EQ(maxX - minX + 1, c.fw) << c.w << "x" << c.h;
        EXPECT_EQ(maxY - minY + 1, c.fh) << c.w << "x" << c.h;
    }
}

TEST(DibImage, CopyRectClipsAtEveryEdge) {
    DibImage source, target;
    ASSERT_TRUE(source.create(4, 4));
    source.fillColor(0x00FFFFFF);
    ASSERT_TRUE(target.create(6, 6));
    target.copyRectFrom(-2, 4, 4, 4, source, 0, 0); // left and bottom hang out
    int white = 0;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            white += target.row(y)[3 * x] == 0xFF;
        }
    }
    EXPECT_EQ(white, 2 * 2);
    EXPECT_EQ(target.row(4)[0], 0xFF);
    EXPECT_EQ(target.row(4)[3 * 2], 0);
}

std::vector<uint8_t> packedHeader(int width, int height, int bpp, uint32_t compression = 0) {
    std::vector<uint8_t> data(40, 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&data[at], &v, 4); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(width));
    put32(8, static_cast<uint32_t>(height));
    data[12] = 1;
    data[14] = static_cast<uint8_t>(bpp);
    put32(16, compression);
    return data;
}

TEST(DibImage, PackedDibOneBitExactLengthLoadsOneByteShortFails) {
    test::RecordingMessageBox boxes;
    auto data = packedHeader(9, 3, 1);
    const uint8_t palette[8] = {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0};
    data.insert(data.end(), palette, palette + 8);
    data.resize(data.size() + 3 * 4, 0); // row size 4 for 9 pixels at 1 bit
    data[48] = 0x80;                     // bottom row, first pixel set
    DibImage image;
    ASSERT_TRUE(image.loadPackedDib(data.data(), data.size()));
    EXPECT_EQ(image.row(2)[0], 0xFF);
    EXPECT_EQ(image.row(0)[0], 0x00);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(image.loadPackedDib(data.data(), data.size() - 1));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(DibImage, PackedDibEightBitFirstRowIsBottomRow) {
    auto data = packedHeader(2, 2, 8);
    std::vector<uint8_t> palette(1024, 0);
    palette[4 * 1 + 2] = 10; // entry 1: red 10
    palette[4 * 2 + 1] = 20; // entry 2: green 20
    data.insert(data.end(), palette.begin(), palette.end());
    const uint8_t rows[8] = {1, 2, 0, 0, 0, 0, 0, 0};
    data.insert(data.end(), rows, rows + 8);
    DibImage image;
    ASSERT_TRUE(image.loadPackedDib(data.data(), data.size()));
    EXPECT_EQ(image.row(1)[2], 10);
    EXPECT_EQ(image.row(1)[4], 20);
    EXPECT_EQ(image.row(0)[2], 0);
}

TEST(DibImage, PackedDibFourBitOddWidthTakesHighNibbleFirst) {
    auto data = packedHeader(3, 1, 4);
    std::vector<uint8_t> palette(64, 0);
    for (int i = 0; i < 16; ++i) {
        palette[4 * i] = static_cast<uint8_t>(10 * i); // blue = 10 x index
    }
    data.insert(data.end(), palette.begin(), palette.end());
    const uint8_t pixels[4] = {0x12, 0x3F, 0, 0}; // indices 1, 2, 3 (F is row padding)
    data.insert(data.end(), pixels, pixels + 4);
    DibImage image;
    ASSERT_TRUE(image.loadPackedDib(data.data(), data.size()));
    EXPECT_EQ(image.row(0)[0], 10);
    EXPECT_EQ(image.row(0)[3], 20);
    EXPECT_EQ(image.row(0)[6], 30);
}

TEST(DibImage, PackedDibRowsOfEveryWidthExpandExactlyAndLeaveThePaddingBlack) {
    std::mt19937 random(3);
    for (const int bpp : {1, 4, 8}) {
        for (int width = 1; width <= 33; ++width) {
            const int height = 2;
            auto data = packedHeader(width, height, bpp);
            const size_t tableStart = data.size();
            const size_t rowSize = ((size_t(width) * bpp + 31) >> 3) & ~size_t{3};
            data.resize(tableStart + (size_t{4} << bpp) + rowSize * height);
            for (size_t i = tableStart; i < data.size(); ++i) {
                data[i] = static_cast<uint8_t>(random());
            }
            const uint8_t* pixels = data.data() + tableStart + (size_t{4} << bpp);
            DibImage image;
            ASSERT_TRUE(image.loadPackedDib(data.data(), data.size()));
            for (int y = 0; y < height; ++y) {
                const uint8_t* source = pixels + rowSize * (height - 1 - y);
                for (int x = 0; x < width; ++x) {
                    const int bit = x * bpp;
                    const int index = (source[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
                    const uint8_t* colour = data.data() + tableStart + 4 * index;
                    ASSERT_EQ(std::memcmp(image.row(y) + 3 * x, colour, 3), 0)
                        << bpp << " bits, width " << width << ", pixel " << x << "," << y;
                }
                for (int pad = 3 * width; pad < image.stride(); ++pad) {
                    ASSERT_EQ(image.row(y)[pad], 0) << bpp << " bits, width " << width;
                }
            }
        }
    }
}

TEST(DibImage, PackedDibTwentyFourBitHasNoColourTable) {
    // 44 bytes in all: the header and one padded row, nothing to read a colour table from.
    auto data = packedHeader(1, 1, 24);
    const uint8_t pixel[4] = {1, 2, 3, 0};
    data.insert(data.end(), pixel, pixel + 4);
    DibImage image;
    ASSERT_TRUE(image.loadPackedDib(data.data(), data.size()));
    EXPECT_EQ(std::vector<uint8_t>(image.row(0), image.row(0) + 3),
              (std::vector<uint8_t>{1, 2, 3}));
}

TEST(DibImage, PackedDibRefusesUnsupportedAndHugeClaims) {
    DibImage image;
    auto compressed = packedHeader(2, 2, 8, 1);
    compressed.resize(1100, 0);
    EXPECT_FALSE(image.loadPackedDib(compressed.data(), compressed.size()));
    auto sixteen = packedHeader(2, 2, 16);
    sixteen.resize(200, 0);
    EXPECT_FALSE(image.loadPackedDib(sixteen.data(), sixteen.size()));
    auto huge = packedHeader(60000, 60000, 24);
    huge.resize(100, 0); // claims 10 GB of pixels in a 100-byte buffer
    EXPECT_FALSE(image.loadPackedDib(huge.data(), huge.size()));
    EXPECT_FALSE(image.hasPixels());
}

} // namespace
} // namespace velmora::image
