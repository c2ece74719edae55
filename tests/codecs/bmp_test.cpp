#include "codecs/readers.h"

#include "bmp_builder.h"
#include "device_folder_fixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace velmora::codecs {
namespace {

using test::Bgr;
using test::bgrAt;
using test::bmpFile;

class Bmp : public test::DeviceFolderTest {
  protected:
    bool load(const std::string& bytes) { return loadBmp(image, put("p.bmp", bytes)); }
    image::DibImage image;
};

TEST_F(Bmp, PalettedDepthsSkipRowPaddingAndStoreBottomRowFirst) {
    const std::vector<std::array<uint8_t, 3>> colors = {
        {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    const Bgr c0{1, 2, 3}, c1{4, 5, 6}, c2{7, 8, 9}, c3{10, 11, 12};
    struct Case {
        test::BmpLayout layout;
        std::vector<Bgr> top, bottom;
    };
    const Case cases[] = {
        {{5, 2, 1, colors, {{0b10110'000}, {0b01000'000}}},
         {c0, c1, c0, c0, c0},
         {c1, c0, c1, c1, c0}},
        {{5, 2, 4, colors, {{0x12, 0x30, 0x10}, {0, 0, 0x30}}},
         {c0, c0, c0, c0, c3},
         {c1, c2, c3, c0, c1}},
        {{5, 2, 8, colors, {{3, 2, 1, 0, 3}, {1, 1, 2, 2, 0}}},
         {c1, c1, c2, c2, c0},
         {c3, c2, c1, c0, c3}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(load(bmpFile(c.layout))) << c.layout.bits;
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(bgrAt(image, x, 0), c.top[x]) << c.layout.bits << " bits, x " << x;
            EXPECT_EQ(bgrAt(image, x, 1), c.bottom[x]) << c.layout.bits << " bits, x " << x;
        }
    }
}

TEST_F(Bmp, DirectColourDepths) {
    // 16 bits: 5-5-5 widened with rounding (16 -> 132), bit 15 ignored.
    ASSERT_TRUE(load(
        bmpFile({6, 1, 16, {}, {{0xFF, 0x7F, 0x1F, 0, 0x10, 0, 0xE0, 0x03, 0, 0x7C, 0, 0x80}}})));
    const Bgr expected16[] = {{255, 255, 255}, {255, 0, 0}, {132, 0, 0},
                              {0, 255, 0},     {0, 0, 255}, {0, 0, 0}};
    for (int x = 0; x < 6; ++x) {
        EXPECT_EQ(bgrAt(image, x, 0), expected16[x]) << "x " << x;
    }
    ASSERT_TRUE(load(bmpFile({3, 2, 24, {}, {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12}}})));
    EXPECT_EQ(bgrAt(image, 2, 1), (Bgr{7, 8, 9}));
    EXPECT_EQ(bgrAt(image, 0, 0), (Bgr{10, 11, 12}));
    ASSERT_TRUE(load(bmpFile({2, 1, 32, {}, {{1, 2, 3, 99, 4, 5, 6, 99}}})));
    EXPECT_EQ(bgrAt(image, 1, 0), (Bgr{4, 5, 6}));
}

TEST_F(Bmp, RefusesWith322WhatItDoesNotTake) {
    const std::string oneByOne = bmpFile({1, 1, 24, {}, {{9, 8, 7}}});
    const std::string eightBit = bmpFile({3, 2, 8, {}, {{}, {}}});
    ASSERT_EQ(oneByOne.size(), 58u);
    ASSERT_EQ(eightBit.size(), 1086u);
    EXPECT_TRUE(load(oneByOne));
    EXPECT_TRUE(load(eightBit));
    std::string badSignature = oneByOne;
    badSignature[1] = 'X';
    const std::string refused[] = {
        oneByOne.substr(0, 57),
        eightBit.substr(0, 1085),
        bmpFile({1, 1, 24, {}, {{}}, 1}), // compressed
        bmpFile({1, -1, 24, {}, {{}}}),   // top-down
        bmpFile({0, 1, 24, {}, {{}}}),
        bmpFile({8, 1, 2, {}, {{}}}), // a depth that would only give black
        badSignature,
        oneByOne.substr(0, 53),
        // Hostile sizes are refused from the file size, before any image is made; the second
        // would wrap a 64-bit product of row size and height.
        bmpFile({60000, 60000, 24}),
        bmpFile({0x7FFFFFFF, 0x7FFFFFFF, 32}),
    };
    for (const auto& bytes : refused) {
        image.release();
        EXPECT_FALSE(load(bytes));
        EXPECT_FALSE(image.hasPixels());
    }
    EXPECT_EQ(shownIds(), std::vector<int>(std::size(refused), ui::str::kImageFaulty));

    image.reportErrors = false;
    EXPECT_FALSE(load(badSignature));
    EXPECT_FALSE(loadBmp(image, devicePath("missing.bmp")));
    EXPECT_EQ(boxes.shown.size(), std::size(refused));
}

class BmpWrite : public test::DeviceFolderTest {
  protected:
    BmpWrite() {
        picture.create(5, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 5; ++x) {
                std::memcpy(picture.row(y) + 3 * x,
                            std::array<uint8_t, 3>{uint8_t(x), uint8_t(y), 7}.data(), 3);
            }
        }
    }
    image::DibImage picture;
};

TEST_F(BmpWrite, Writes24BitBottomUpFileThatReadsBack) {
    ASSERT_TRUE(saveBmp(picture, devicePath("out.bmp")));
    const std::string bytes = contents("out.bmp");
    ASSERT_EQ(bytes.size(), 3u * 16 + 54);
    const std::string header = bmpFile({5, 3, 24});
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(bytes[2], 102); // file size
    EXPECT_EQ(bytes.substr(6, 48), header.substr(6, 48));
    EXPECT_EQ(bytes[55], 2) << "the first stored row is the bottom row";

    image::DibImage back;
    ASSERT_TRUE(loadBmp(back, devicePath("out.bmp")));
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(0, std::memcmp(back.row(y), picture.row(y), 15)) << "row " << y;
    }
    EXPECT_EQ(files().size(), 1u) << "no temporary left behind";
}

TEST_F(BmpWrite, FailuresShow40079AndKeepTheOldFile) {
    EXPECT_FALSE(saveBmp(picture, devicePath("no-such-folder\\out.bmp")));
    put("old.bmp", "previous contents");
    picture.create(200, 200); // 120 KB of rows
    {
        test::FileSizeLimit limit(4096);
        EXPECT_FALSE(saveBmp(picture, devicePath("old.bmp")));
    }
    EXPECT_EQ(contents("old.bmp"), "previous contents");
    EXPECT_EQ(files().size(), 1u);
    EXPECT_FALSE(saveBmp(image::DibImage(), devicePath("empty.bmp")));
    EXPECT_EQ(shownIds(), std::vector<int>(3, ui::str::kWriteFailed));
}

} // namespace
} // namespace velmora::codecs
