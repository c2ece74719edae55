#include "codecs/readers.h"

#include "bmp_builder.h"
#include "device_folder_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace velmora::codecs {
namespace {

using test::Bgr;
using test::bgrAt;
using test::bmpFile;

class Bmp : public test::DeviceFolderTest {
  protected:
    LoadResult load(const std::string& bytes) { return loadBmp(image, put("p.bmp", bytes)); }
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

TEST_F(Bmp, RefusesAsFaultyWhatItDoesNotTake) {
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
        bmpFile({0, 1, 24, {}, {{}}}),
        bmpFile({8, 1, 2, {}, {{}}}), // a depth that would only give black
        badSignature,
        oneByOne.substr(0, 53),
        // Hostile sizes are refused from the file size, before any image is made; the second
        // would wrap a 64-bit product of row size and height.
        bmpFile({60000, 60000, 24}),
        bmpFile({0x7FFFFFFF, 0x7FFFFFFF, 32}),
        // Compressions with a depth they do not go with, or that the reader does not know.
        bmpFile({2, 1, 4, {}, {}, 1, 40, {}, 0, {0, 1}}),
        bmpFile({2, 1, 8, {}, {}, 2, 40, {}, 0, {0, 1}}),
        bmpFile({1, 1, 24, {}, {{}}, 3, 40, {0xFF0000, 0xFF00, 0xFF}}),
        bmpFile({1, 1, 24, {}, {{}}, 4}),
        bmpFile({2, -1, 8, {}, {}, 1, 40, {}, 0, {2, 1, 0, 1}}), // top-down run lengths
        bmpFile({1, INT32_MIN, 24, {}, {{}}}),
        // Masks that are not one run of bits inside the pixel.
        bmpFile({1, 1, 16, {}, {{}}, 3, 40, {0xF0F0, 0x0F00, 0x000F}}),
        bmpFile({1, 1, 16, {}, {{}}, 3, 40, {0x1F0000, 0x07E0, 0x001F}}),
        // Cut inside a larger header, inside the masks, inside the rows behind a short table.
        bmpFile({1, 1, 24, {}, {{}}, 0, 124}).substr(0, 100),
        bmpFile({1, 1, 16, {}, {{}}, 3, 40, {0xF800, 0x07E0, 0x001F}}).substr(0, 60),
        bmpFile({4, 2, 8, {}, {{}, {}}, 0, 40, {}, 3}).substr(0, 54 + 12 + 7),
        // Run-length data that ends before the picture does, or inside a stored run.
        bmpFile({2, 2, 8, {}, {}, 1, 40, {}, 0, {2, 1, 0, 0}}),
        bmpFile({4, 1, 8, {}, {}, 1, 40, {}, 0, {0, 4, 1, 2}}),
        bmpFile({4, 1, 4, {}, {}, 2, 40, {}, 0, {0, 2, 0}}),
    };
    for (const auto& bytes : refused) {
        image.release();
        EXPECT_EQ(load(bytes).cause, LoadCause::Faulty);
        EXPECT_FALSE(image.hasPixels());
    }
    EXPECT_EQ(loadBmp(image, devicePath("missing.bmp")).cause, LoadCause::CannotOpen);
    EXPECT_TRUE(boxes.shown.empty());
}

std::string commandOutput(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, n);
        }
        pclose(pipe);
    }
    return out;
}

// Debian's ImageMagick 6 (imagemagick), the independent decoder and the other writer.
const std::string kMagick = "/usr/bin/convert ";

TEST_F(Bmp, AddedLayoutsDecodeAsImageMagickDecodesThem) {
    std::vector<std::array<uint8_t, 3>> colors;
    for (int i = 0; i < 16; ++i) {
        colors.push_back({uint8_t(10 + 15 * i), uint8_t(200 - 11 * i), uint8_t(i * i)});
    }
    const auto row16 = [](std::initializer_list<uint16_t> pixels) {
        std::vector<uint8_t> row;
        for (uint16_t p : pixels) {
            row.insert(row.end(), {uint8_t(p), uint8_t(p >> 8)});
        }
        return row;
    };
    // Three pixels of 10-bit channels under two bits of alpha.
    const std::vector<uint8_t> pixels1010 = {0xFF, 0x57, 0x15, 0xC0, 0x00, 0x02,
                                             0x20, 0x80, 0x34, 0x12, 0x00, 0x00};
    const auto magickWritten = [&](const std::string& options) {
        EXPECT_EQ(std::system((kMagick + options + (dir.path() / "m.bmp").string()).c_str()), 0);
        return contents("m.bmp");
    };
    const std::string gradient = "-size 16x9 gradient:red-blue -rotate 90 ";
    struct Case {
        const char* name;
        std::string bytes;
        int tolerance; // levels by which decoders may differ on channels of under 8 bits
    };
    const Case cases[] = {
        {"RLE8: runs, a padded stored run, end of line, delta, early end of bitmap",
         bmpFile({7,
                  4,
                  8,
                  colors,
                  {},
                  1,
                  40,
                  {},
                  0,
                  std::string("\x03\x01\x00\x03\x02\x03\x01\x00\x01\x02\x00\x00"
                              "\x02\x03\x00\x02\x02\x01\x02\x01\x00\x00\x01\x02\x00\x01",
                              26)}),
         0},
        {"RLE4: alternating runs, odd stored runs, a delta",
         bmpFile({9,
                  3,
                  4,
                  colors,
                  {},
                  2,
                  40,
                  {},
                  0,
                  std::string("\x05\x12\x00\x03\x34\x50\x01\x67\x00\x00"
                              "\x00\x05\xAB\xCD\xE0\x00\x04\xF1\x00\x00"
                              "\x00\x02\x01\x00\x03\x98\x00\x01",
                              28)}),
         0},
        {"RLE8 as ImageMagick writes it", magickWritten(gradient + "-colors 8 -compress RLE BMP3:"),
         0},
        {"16-bit masks 5-6-5 behind a 40-byte header",
         bmpFile({3,
                  2,
                  16,
                  {},
                  {row16({0xF800, 0x07E0, 0x001F}), row16({0x1234, 0xFFFF, 0x8410})},
                  3,
                  40,
                  {0xF800, 0x07E0, 0x001F}}),
         1},
        {"16-bit 5-6-5 as ImageMagick writes it",
         magickWritten(gradient + "-define bmp:subtype=RGB565 BMP:"), 1},
        {"16-bit 5-5-5 in a 124-byte header",
         bmpFile({3, 1, 16, {}, {row16({0x7FFF, 0x4210, 0x0C63})}, 0, 124}), 1},
        {"32-bit masks 10-10-10 in a 124-byte header, top-down",
         bmpFile({3, -1, 32, {}, {pixels1010}, 3, 124, {0x3FF, 0xFFC00, 0x3FF00000, 0xC0000000}}),
         1},
        {"32-bit masks with alpha as ImageMagick writes them",
         magickWritten(gradient + "-alpha set -channel A -evaluate set 40% BMP:"), 0},
        {"32-bit blue-green-red-unused masks in a 56-byte header",
         bmpFile({2, 1, 32, {}, {{1, 2, 3, 4, 5, 6, 7, 8}}, 3, 56, {0xFF0000, 0xFF00, 0xFF, 0}}),
         0},
        {"24 bits in a 108-byte header, top-down",
         bmpFile({2, -2, 24, {}, {{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}}, 0, 108}), 0},
        {"24 bits behind a suggested colour table",
         bmpFile({2, 1, 24, colors, {{1, 2, 3, 4, 5, 6}}, 0, 40, {}, 2}), 0},
        {"8 bits, top-down", bmpFile({3, -2, 8, colors, {{0, 1, 2}, {3, 4, 5}}}), 0},
        {"8 bits, a table of 3 in a 108-byte header",
         bmpFile({4, 2, 8, colors, {{0, 1, 2, 1}, {2, 2, 0, 1}}, 0, 108, {}, 3}), 0},
        {"4 bits, a table of 5", bmpFile({5, 1, 4, colors, {{0x01, 0x23, 0x40}}, 0, 40, {}, 5}), 0},
        {"1 bit, top-down, a table of 2 in a 124-byte header",
         bmpFile({9, -2, 1, colors, {{0xA5, 0x80}, {0x3C, 0x00}}, 0, 124, {}, 2}), 0},
    };
    const std::string path = (dir.path() / "p.bmp").string();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(load(c.bytes));
        const std::string rgb = commandOutput(kMagick + path + " -depth 8 rgb:- 2>/dev/null");
        ASSERT_EQ(rgb.size(), size_t{3} * image.width() * image.height());
        int worst = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const Bgr ours = bgrAt(image, x, y);
                for (int i = 0; i < 3; ++i) {
                    const int theirs = uint8_t(rgb[3 * (size_t(y) * image.width() + x) + 2 - i]);
                    worst = std::max(worst, std::abs(ours[i] - theirs));
                }
            }
        }
        EXPECT_LE(worst, c.tolerance);
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Bmp, MaskedChannelsOfAnyWidthWidenRoundedToNearest) {
    // 4-4-4 (15 -> 255, 8 -> 136, 1 -> 17), 1-bit red, 12-bit green (2048 -> 128) in 32 bits.
    ASSERT_TRUE(
        load(bmpFile({2, 1, 16, {}, {{0x8F, 0x01, 0x00, 0x0F}}, 3, 40, {0x0F00, 0x00F0, 0x000F}})));
    EXPECT_EQ(bgrAt(image, 0, 0), (Bgr{255, 136, 17}));
    EXPECT_EQ(bgrAt(image, 1, 0), (Bgr{0, 0, 255}));
    ASSERT_TRUE(load(
        bmpFile({1, 1, 32, {}, {{0x00, 0x00, 0x80, 0x01}}, 3, 108, {0x01000000, 0x00FFF000, 0}})));
    EXPECT_EQ(bgrAt(image, 0, 0), (Bgr{0, 128, 255}));
}

TEST_F(Bmp, RunLengthDataNeverWritesOutsideThePicture) {
    // A run of 255 on a row of 3, a stored run past the row, a delta far beyond the picture.
    const std::vector<std::array<uint8_t, 3>> colors = {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}};
    ASSERT_TRUE(load(bmpFile({3,
                              2,
                              8,
                              colors,
                              {},
                              1,
                              40,
                              {},
                              0,
                              std::string("\xFF\x02\x00\x05\x01\x01\x01\x01\x01\x00"
                                          "\x00\x02\xFF\xFF\x03\x01",
                                          16)})));
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(bgrAt(image, x, 1), (Bgr{3, 3, 3}));
        EXPECT_EQ(bgrAt(image, x, 0), (Bgr{1, 1, 1})) << "left as index 0";
    }
}

class BmpWrite : public test::DeviceFolderTest {
  protected:
    BmpWrite() {
        EXPECT_TRUE(picture.create(5, 3));
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

TEST_F(BmpWrite, FailuresKeepTheOldFile) {
    EXPECT_FALSE(saveBmp(picture, devicePath("no-such-folder\\out.bmp")));
    put("old.bmp", "previous contents");
    EXPECT_TRUE(picture.create(200, 200)); // 120 KB of rows
    {
        test::FileSizeLimit limit(4096);
        EXPECT_FALSE(saveBmp(picture, devicePath("old.bmp")));
    }
    EXPECT_EQ(contents("old.bmp"), "previous contents");
    EXPECT_EQ(files().size(), 1u);
    EXPECT_EQ(saveBmp(image::DibImage(), devicePath("empty.bmp")).cause, SaveCause::NoPicture);
    EXPECT_TRUE(boxes.shown.empty()) << "the caller speaks";
}

} // namespace
} // namespace velmora::codecs
