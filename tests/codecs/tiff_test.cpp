#include "codecs/png/png_decoder.h"
#include "codecs/readers.h"
#include "codecs/tiff/tiff_decoder.h"
#include "device_folder_fixture.h"
#include "png_builder.h"
#include "tiff_builder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace velmora::codecs {
namespace {

using test::TiffPicture;

std::vector<uint8_t> bgrPixels(const image::DibImage& image) {
    std::vector<uint8_t> pixels;
    for (int32_t y = 0; y < image.height(); ++y) {
        pixels.insert(pixels.end(), image.row(y), image.row(y) + 3 * image.width());
    }
    return pixels;
}

// An RGB picture with a distinct colour in every pixel; expected holds it as top-down
// blue-green-red whatever order the file stores its rows in.
struct Sample {
    TiffPicture picture;
    std::vector<uint8_t> expected;
};

Sample rgbSample(uint32_t width, uint32_t height, uint16_t orientation = ORIENTATION_TOPLEFT) {
    Sample sample;
    sample.picture.width = width;
    sample.picture.height = height;
    sample.picture.orientation = orientation;
    std::vector<uint8_t> topDown;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t r = static_cast<uint8_t>(x * 9 + y);
            const uint8_t g = static_cast<uint8_t>(y * 13);
            const uint8_t b = static_cast<uint8_t>(x * y + 7);
            topDown.insert(topDown.end(), {r, g, b});
            sample.expected.insert(sample.expected.end(), {b, g, r});
        }
    }
    const size_t rowBytes = size_t{width} * 3;
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t stored = orientation == ORIENTATION_BOTLEFT ? height - 1 - y : y;
        sample.picture.samples.insert(sample.picture.samples.end(),
                                      topDown.begin() + stored * rowBytes,
                                      topDown.begin() + (stored + 1) * rowBytes);
    }
    return sample;
}

class TiffFiles : public test::DeviceFolderTest {
  protected:
    std::u16string putTiff(const std::string& name, const TiffPicture& picture) {
        EXPECT_TRUE(test::writeTiff(dir.path() / name, picture));
        return devicePath(name);
    }
    std::vector<uint8_t> bytesOf(const std::string& name) const {
        const std::string text = contents(name);
        return {text.begin(), text.end()};
    }
};

TEST_F(TiffFiles, StripsTilesAndCompressionAllGiveTheSamePixels) {
    struct Layout {
        const char* name;
        uint32_t rowsPerStrip;
        uint32_t tileSize;
        uint16_t compression;
        uint16_t orientation;
    };
    const Layout layouts[] = {
        {"one-strip", 23, 0, COMPRESSION_NONE, ORIENTATION_TOPLEFT},
        {"partial-last-strip", 4, 0, COMPRESSION_NONE, ORIENTATION_TOPLEFT},
        {"lzw", 5, 0, COMPRESSION_LZW, ORIENTATION_TOPLEFT},
        {"deflate", 3, 0, COMPRESSION_ADOBE_DEFLATE, ORIENTATION_TOPLEFT},
        {"tiles", 0, 16, COMPRESSION_NONE, ORIENTATION_TOPLEFT},
        {"bottom-up", 4, 0, COMPRESSION_NONE, ORIENTATION_BOTLEFT},
        {"bottom-up-tiles", 0, 16, COMPRESSION_NONE, ORIENTATION_BOTLEFT},
    };
    for (const Layout& layout : layouts) {
        Sample sample = rgbSample(37, 23, layout.orientation);
        sample.picture.rowsPerStrip = layout.rowsPerStrip;
        sample.picture.tileSize = layout.tileSize;
        sample.picture.compression = layout.compression;
        const std::string name = std::string(layout.name) + ".tif";
        const auto path = putTiff(name, sample.picture);

        image::DibImage whole;
        ASSERT_TRUE(loadTiff(whole, path)) << layout.name;
        EXPECT_EQ(bgrPixels(whole), sample.expected) << layout.name;
        // Bands of one strip (or one row of tiles), as when no larger raster can be had, and
        // bands of several strips that leave a short last band.
        for (uint64_t rasterBytes : {uint64_t{0}, uint64_t{37 * 4 * 7}, UINT64_MAX}) {
            image::DibImage banded;
            ASSERT_EQ(decodeTiffMemory(bytesOf(name), banded, {.maxRasterBytes = rasterBytes}),
                      TiffDecodeResult::Ok)
                << layout.name << " " << rasterBytes;
            EXPECT_EQ(bgrPixels(banded), sample.expected) << layout.name << " " << rasterBytes;
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// Palette, grey, 16-bit and JPEG-compressed YCbCr pictures: the library converts each of them
// its own way, and each must come out the same read in bands as read whole.
TEST_F(TiffFiles, BandsOfEveryKindOfPictureMatchTheWholeRead) {
    constexpr uint32_t kWidth = 61, kHeight = 53;
    const auto shade = [](uint32_t x, uint32_t y) { return static_cast<uint8_t>(x * 4 + y * 3); };
    std::vector<std::pair<const char*, TiffPicture>> pictures;
    TiffPicture palette{.width = kWidth,
                        .height = kHeight,
                        .samplesPerPixel = 1,
                        .photometric = PHOTOMETRIC_PALETTE,
                        .rowsPerStrip = 4};
    for (int i = 0; i < 3 * 256; ++i) { // red i, green 255 - i, blue 7 i (as 16-bit levels)
        const int c = i % 256;
        palette.colourMap.push_back(static_cast<uint16_t>(257 * (i < 256   ? c
                                                                 : i < 512 ? 255 - c
                                                                           : (7 * c) % 256)));
    }
    TiffPicture grey{.width = kWidth,
                     .height = kHeight,
                     .samplesPerPixel = 1,
                     .photometric = PHOTOMETRIC_MINISBLACK,
                     .rowsPerStrip = 4};
    TiffPicture deep{.width = kWidth, .height = kHeight, .bitsPerSample = 16, .rowsPerStrip = 4};
    TiffPicture ycbcr{.width = kWidth,
                      .height = kHeight,
                      .photometric = PHOTOMETRIC_YCBCR,
                      .compression = COMPRESSION_JPEG,
                      .rowsPerStrip = 16};
    for (uint32_t y = 0; y < kHeight; ++y) {
        for (uint32_t x = 0; x < kWidth; ++x) {
            palette.samples.push_back(shade(x, y));
            grey.samples.push_back(shade(x, y));
            for (const uint16_t level :
                 {uint16_t(x * 1000 + y), uint16_t(y * 1200), uint16_t(x * y * 19)}) {
                const auto* bytes = reinterpret_cast<const uint8_t*>(&level);
                deep.samples.insert(deep.samples.end(), bytes, bytes + 2);
            }
            ycbcr.samples.insert(ycbcr.samples.end(),
                                 {shade(x, y), uint8_t(y * 4), uint8_t(x * 2)});
        }
    }
    pictures = {{"palette", palette}, {"grey", grey}, {"16-bit", deep}, {"jpeg-ycbcr", ycbcr}};

    for (const auto& [name, picture] : pictures) {
        const std::string file = std::string(name) + ".tif";
        putTiff(file, picture);
        image::DibImage whole;
        ASSERT_EQ(decodeTiffMemory(bytesOf(file), whole, {.maxRasterBytes = UINT64_MAX}),
                  TiffDecodeResult::Ok)
            << name;
        for (const uint64_t rasterBytes : {uint64_t{0}, uint64_t{kWidth * 4 * 20}}) {
            image::DibImage banded;
            ASSERT_EQ(decodeTiffMemory(bytesOf(file), banded, {.maxRasterBytes = rasterBytes}),
                      TiffDecodeResult::Ok)
                << name << " " << rasterBytes;
            EXPECT_EQ(bgrPixels(banded), bgrPixels(whole)) << name << " " << rasterBytes;
        }
        const uint8_t* corner = whole.row(kHeight - 1) + 3 * (kWidth - 1);
        const uint8_t s = shade(kWidth - 1, kHeight - 1);
        if (picture.photometric == PHOTOMETRIC_PALETTE) {
            EXPECT_EQ(std::vector<uint8_t>(corner, corner + 3),
                      (std::vector<uint8_t>{uint8_t(7 * s), uint8_t(255 - s), s}));
        } else if (picture.photometric == PHOTOMETRIC_MINISBLACK) {
            EXPECT_EQ(std::vector<uint8_t>(corner, corner + 3), (std::vector<uint8_t>{s, s, s}));
        } else if (picture.bitsPerSample == 16) { // red level 60052 of 65535
            EXPECT_NEAR(corner[2], 60052 / 257, 1);
        } else { // lossy, with the colour halved both ways
            EXPECT_NEAR(corner[2], s, 16);
            EXPECT_NEAR(corner[1], 4 * (kHeight - 1), 16);
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TiffFiles, SidesUpTo10000AreAcceptedAndLongerOnesRefused) {
    for (auto [width, height, accepted] : {std::tuple{10000u, 1u, true},
                                           {1u, 10000u, true},
                                           {10001u, 1u, false},
                                           {1u, 10001u, false}}) {
        Sample sample = rgbSample(width, height);
        sample.picture.rowsPerStrip = height;
        image::DibImage image;
        const std::string name = std::to_string(width) + "x" + std::to_string(height) + ".tif";
        EXPECT_EQ(loadTiff(image, putTiff(name, sample.picture)), accepted) << name;
        if (accepted) {
            EXPECT_EQ(bgrPixels(image), sample.expected) << name;
        }
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TiffFiles, HostileFilesAreRefusedWithoutMessage) {
    Sample sample = rgbSample(30, 20);
    sample.picture.rowsPerStrip = 20;
    putTiff("good.tif", sample.picture);
    const std::string good = contents("good.tif");
    image::DibImage image;

    // The directory comes after the pixels: a cut file has none.
    EXPECT_FALSE(loadTiff(image, put("truncated.tif", good.substr(0, good.size() / 2))));
    EXPECT_FALSE(loadTiff(image, put("header-only.tif", good.substr(0, 8))));
    EXPECT_FALSE(loadTiff(image, put("not-a-tiff.tif", "GIF89a and then some more bytes")));
    EXPECT_FALSE(loadTiff(image, devicePath("missing.tif")));

    // A 60000 x 60000 claim in a file of a few hundred bytes: refused by its size alone.
    TiffPicture huge;
    huge.width = 60000;
    huge.height = 1;
    huge.rowsPerStrip = 1;
    huge.samples.assign(60000 * 3, 0);
    huge.compression = COMPRESSION_ADOBE_DEFLATE;
    putTiff("huge.tif", huge);
    std::string claim = contents("huge.tif");
    ASSERT_LT(claim.size(), 2000u);
    EXPECT_EQ(decodeTiffMemory({reinterpret_cast<const uint8_t*>(claim.data()), claim.size()},
                               image, {.maxSide = 70000}),
              TiffDecodeResult::Ok); // the file itself is sound
    image::DibImage refused;
    EXPECT_EQ(
        decodeTiffMemory({reinterpret_cast<const uint8_t*>(claim.data()), claim.size()}, refused),
        TiffDecodeResult::BadSize);
    EXPECT_FALSE(refused.hasPixels());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TiffFiles, SavedTiffReadsBackWithTheSamePixels) {
    image::DibImage original;
    ASSERT_TRUE(original.create(7, 300)); // more rows than one strip holds
    for (int32_t y = 0; y < original.height(); ++y) {
        for (int32_t x = 0; x < 21; ++x) {
            original.row(y)[x] = static_cast<uint8_t>(y * 3 + x * 11);
        }
    }
    const auto path = put("out.tif", "old contents");
    ASSERT_TRUE(saveTiff(original, path));
    image::DibImage loaded;
    ASSERT_TRUE(loadTiff(loaded, path));
    EXPECT_EQ(bgrPixels(loaded), bgrPixels(original));
    EXPECT_EQ(files().size(), 1u);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(TiffFiles, FailedSaveShows40079AndKeepsTheOldFile) {
    image::DibImage image;
    ASSERT_TRUE(image.create(3, 3));
    EXPECT_FALSE(saveTiff(image, devicePath("missing-folder\\out.tif")));
    const auto path = put("keep.tif", "old contents");
    image::DibImage empty;
    EXPECT_FALSE(saveTiff(empty, path));
    EXPECT_EQ(contents("keep.tif"), "old contents");
    EXPECT_EQ(files().size(), 1u);
    EXPECT_EQ(shownIds(), (std::vector{ui::str::kWriteFailed, ui::str::kWriteFailed}));
}

// Readers keep their state per call: different files decode at the same time on several
// threads (the suite also runs under ThreadSanitizer).
TEST_F(TiffFiles, DifferentFilesDecodeOnSeveralThreadsAtOnce) {
    Sample strips = rgbSample(61, 47);
    strips.picture.rowsPerStrip = 5;
    strips.picture.compression = COMPRESSION_LZW;
    Sample tiles = rgbSample(50, 40, ORIENTATION_BOTLEFT);
    tiles.picture.tileSize = 16;
    const auto stripsPath = putTiff("strips.tif", strips.picture);
    const auto tilesPath = putTiff("tiles.tif", tiles.picture);

    test::PngPicture png; // interlaced, with transparency: the decoder's most involved case
    png.width = 40;
    png.height = 30;
    png.colorType = PNG_COLOR_TYPE_PALETTE;
    png.interlaced = true;
    for (int i = 0; i < 256; ++i) {
        png.palette.push_back({static_cast<png_byte>(i), static_cast<png_byte>(255 - i), 9});
    }
    png.paletteAlpha = {0, 10, 20};
    for (uint32_t y = 0; y < png.height; ++y) {
        png.rows.emplace_back(png.width, static_cast<uint8_t>(y * 5));
        png.rows.back()[y] = 200;
    }
    const auto pngBytes = test::buildPng(png);
    image::DibImage reference;
    ASSERT_EQ(decodePngMemory(pngBytes, reference), PngDecodeResult::Ok);
    const auto pngExpected = bgrPixels(reference);
    const auto pngPath = put("palette.png", std::string(pngBytes.begin(), pngBytes.end()));

    std::atomic<int> mismatches{0};
    auto repeat = [&](auto decode, const std::vector<uint8_t>& expected) {
        return std::thread([&, decode] {
            for (int i = 0; i < 20; ++i) {
                image::DibImage image;
                image.reportErrors = false;
                if (!decode(image) || bgrPixels(image) != expected) {
                    ++mismatches;
                }
            }
        });
    };
    std::vector<std::thread> threads;
    threads.push_back(
        repeat([&](image::DibImage& i) { return loadTiff(i, stripsPath); }, strips.expected));
    threads.push_back(
        repeat([&](image::DibImage& i) { return loadTiff(i, tilesPath); }, tiles.expected));
    threads.push_back(repeat([&](image::DibImage& i) { return loadPng(i, pngPath); }, pngExpected));
    threads.push_back(repeat(
        [&](image::DibImage& i) { return decodePngMemory(pngBytes, i) == PngDecodeResult::Ok; },
        pngExpected));
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches.load(), 0);
}

} // namespace
} // namespace velmora::codecs
