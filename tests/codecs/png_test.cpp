#include "codecs/png/png_decoder.h"
#include "codecs/readers.h"
#include "device_folder_fixture.h"
#include "png_builder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <array>
#include <string>

namespace velmora::codecs {
namespace {

using test::PngPicture;

struct Bgr {
    uint8_t b, g, r;
    bool operator==(const Bgr&) const = default;
};

std::string text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

std::vector<Bgr> pixelsOf(const image::DibImage& image) {
    std::vector<Bgr> pixels;
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            const uint8_t* p = image.row(y) + 3 * x;
            pixels.push_back({p[0], p[1], p[2]});
        }
    }
    return pixels;
}

// A picture of the given kind whose samples run through the whole range of the depth, with the
// blue-green-red colour each pixel must come out as (alpha and transparency ignored).
struct Sample {
    PngPicture picture;
    std::vector<Bgr> expected;
};

Sample makeSample(int colorType, int depth, bool interlaced) {
    constexpr uint32_t kWidth = 13;
    constexpr uint32_t kHeight = 11;
    Sample sample;
    PngPicture& picture = sample.picture;
    picture.width = kWidth;
    picture.height = kHeight;
    picture.bitDepth = depth;
    picture.colorType = colorType;
    picture.interlaced = interlaced;
    const int maxValue = (1 << depth) - 1;
    int channels = 1;
    switch (colorType) {
    case PNG_COLOR_TYPE_RGB:
        channels = 3;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        channels = 2;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        channels = 4;
        break;
    default:
        break;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i <= maxValue; ++i) {
            picture.palette.push_back({static_cast<png_byte>(i * 7 + 3),
                                       static_cast<png_byte>(255 - i),
                                       static_cast<png_byte>(i * 31)});
        }
    }
    for (uint32_t y = 0; y < kHeight; ++y) {
        std::vector<uint8_t> row((kWidth * channels * depth + 7) / 8);
        for (uint32_t x = 0; x < kWidth; ++x) {
            std::array<int, 4> values{};
            for (int c = 0; c < channels; ++c) {
                values[c] = static_cast<int>((x * 37 + y * 101 + c * 53) * 2654435761u % 65536) %
                            (maxValue + 1);
            }
            for (int c = 0; c < channels; ++c) {
                const size_t bit = (size_t{x} * channels + c) * depth;
                if (depth == 16) {
                    row[bit / 8] = static_cast<uint8_t>(values[c] >> 8);
                    row[bit / 8 + 1] = static_cast<uint8_t>(values[c]);
                } else {
                    row[bit / 8] |= static_cast<uint8_t>(values[c] << (8 - depth - bit % 8));
                }
            }
            // The 8-bit value of a sample: low bit depths spread over 0..255, 16 bits cut to
            // the high byte.
            auto to8 = [&](int v) {
                return static_cast<uint8_t>(depth == 16 ? v >> 8 : v * 255 / maxValue);
            };
            if (colorType == PNG_COLOR_TYPE_PALETTE) {
                const png_color& c = picture.palette[values[0]];
                sample.expected.push_back({c.blue, c.green, c.red});
            } else if (channels >= 3) {
                sample.expected.push_back({to8(values[2]), to8(values[1]), to8(values[0])});
            } else {
                const uint8_t grey = to8(values[0]);
                sample.expected.push_back({grey, grey, grey});
            }
        }
        picture.rows.push_back(std::move(row));
    }
    return sample;
}

struct Kind {
    int colorType;
    int depth;
};

const Kind kEveryKind[] = {
    {PNG_COLOR_TYPE_GRAY, 1},        {PNG_COLOR_TYPE_GRAY, 2},      {PNG_COLOR_TYPE_GRAY, 4},
    {PNG_COLOR_TYPE_GRAY, 8},        {PNG_COLOR_TYPE_GRAY, 16},     {PNG_COLOR_TYPE_RGB, 8},
    {PNG_COLOR_TYPE_RGB, 16},        {PNG_COLOR_TYPE_PALETTE, 1},   {PNG_COLOR_TYPE_PALETTE, 2},
    {PNG_COLOR_TYPE_PALETTE, 4},     {PNG_COLOR_TYPE_PALETTE, 8},   {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
    {PNG_COLOR_TYPE_GRAY_ALPHA, 16}, {PNG_COLOR_TYPE_RGB_ALPHA, 8}, {PNG_COLOR_TYPE_RGB_ALPHA, 16},
};

void expectDecodesTo(const Sample& sample, const std::string& what) {
    const auto bytes = test::buildPng(sample.picture);
    ASSERT_FALSE(bytes.empty()) << what;
    image::DibImage image;
    ASSERT_EQ(decodePngMemory(bytes, image), PngDecodeResult::Ok) << what;
    ASSERT_EQ(image.width(), static_cast<int32_t>(sample.picture.width)) << what;
    ASSERT_EQ(image.height(), static_cast<int32_t>(sample.picture.height)) << what;
    EXPECT_EQ(pixelsOf(image), sample.expected) << what;
}

std::string describe(const Kind& kind, bool interlaced, const char* extra = "") {
    return "colour type " + std::to_string(kind.colorType) + ", depth " +
           std::to_string(kind.depth) + (interlaced ? ", interlaced" : "") + extra;
}

TEST(PngDecoder, EveryColourTypeAndDepthPlainAndInterlacedGivesItsColours) {
    for (const Kind& kind : kEveryKind) {
        for (bool interlaced : {false, true}) {
            expectDecodesTo(makeSample(kind.colorType, kind.depth, interlaced),
                            describe(kind, interlaced));
        }
    }
}

// A transparency chunk turns into alpha inside the library; the stored colours must still
// arrive, also when an interlaced file needs the earlier passes' pixels kept between passes.
TEST(PngDecoder, TransparencyChunkKeepsStoredColoursPlainAndInterlaced) {
    for (const Kind& kind : {Kind{PNG_COLOR_TYPE_PALETTE, 8}, Kind{PNG_COLOR_TYPE_PALETTE, 2},
                             Kind{PNG_COLOR_TYPE_GRAY, 4}, Kind{PNG_COLOR_TYPE_GRAY, 16},
                             Kind{PNG_COLOR_TYPE_RGB, 8}, Kind{PNG_COLOR_TYPE_RGB, 16}}) {
        for (bool interlaced : {false, true}) {
            Sample sample = makeSample(kind.colorType, kind.depth, interlaced);
            if (kind.colorType == PNG_COLOR_TYPE_PALETTE) {
                sample.picture.paletteAlpha = {0, 128, 255, 0};
            } else {
                png_color_16 key{};
                key.gray = 1;
                key.red = 1;
                key.green = 0;
                key.blue = 3;
                sample.picture.transparent = key;
            }
            expectDecodesTo(sample, describe(kind, interlaced, ", tRNS"));
        }
    }
}

class PngFiles : public test::DeviceFolderTest {};

TEST_F(PngFiles, SavedImageReadsBackWithTheSamePixels) {
    image::DibImage original;
    ASSERT_TRUE(original.create(7, 5)); // odd width: rows carry padding
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 21; ++x) {
            original.row(y)[x] = static_cast<uint8_t>(y * 50 + x * 11);
        }
    }
    const auto path = put("out.png", "old contents");
    ASSERT_TRUE(savePng(original, path));
    image::DibImage loaded;
    ASSERT_TRUE(loadPng(loaded, path));
    EXPECT_EQ(pixelsOf(loaded), pixelsOf(original));
    EXPECT_EQ(files().size(), 1u); // no temporary left beside it
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PngFiles, FailedSaveShows40079AndKeepsTheOldFile) {
    image::DibImage image;
    ASSERT_TRUE(image.create(3, 3));
    EXPECT_FALSE(savePng(image, devicePath("missing-folder\\out.png")));

    const auto path = put("keep.png", "old contents");
    image::DibImage empty; // nothing to encode: the library write fails after the file opened
    EXPECT_FALSE(savePng(empty, path));
    EXPECT_EQ(contents("keep.png"), "old contents");
    EXPECT_EQ(files().size(), 1u);
    EXPECT_EQ(shownIds(), (std::vector{ui::str::kWriteFailed, ui::str::kWriteFailed}));

    image.reportErrors = false;
    EXPECT_FALSE(savePng(image, devicePath("missing-folder\\out.png")));
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(PngFiles, FileWithoutPngSignatureShows322) {
    image::DibImage image;
    EXPECT_FALSE(loadPng(image, put("gif.png", "GIF89a\x01\x00\x01\x00")));
    EXPECT_FALSE(loadPng(image, put("short.png", "\x89P")));
    EXPECT_EQ(shownIds(), (std::vector{ui::str::kImageFaulty, ui::str::kImageFaulty}));
    image.reportErrors = false;
    EXPECT_FALSE(loadPng(image, put("gif2.png", "GIF89a\x01\x00\x01\x00")));
    EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(PngFiles, DamagedFilesFailWithoutMessage) {
    const auto good = test::buildPng(makeSample(PNG_COLOR_TYPE_RGB, 8, false).picture);
    ASSERT_GT(good.size(), 100u);
    auto truncated = good;
    truncated.resize(good.size() / 2);
    auto corrupt = good;
    corrupt[good.size() / 2] ^= 0x5A; // inside the compressed data: the CRC no longer holds
    auto badSignatureTail = good;
    badSignatureTail[6] = 'X'; // first four bytes fine, the library sees the rest

    image::DibImage image;
    EXPECT_FALSE(loadPng(image, put("truncated.png", text(truncated))));
    EXPECT_FALSE(loadPng(image, put("corrupt.png", text(corrupt))));
    EXPECT_FALSE(loadPng(image, put("tail.png", text(badSignatureTail))));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(loadPng(image, put("good.png", text(good))));
}

TEST(PngDecoder, TinyFileClaimingHugePictureIsRefusedBeforeTheImageIsMade) {
    PngPicture picture; // one grey row of 60000 pixels, then the header claims 60000 rows
    picture.width = 60000;
    picture.height = 1;
    picture.colorType = PNG_COLOR_TYPE_GRAY;
    picture.rows.assign(1, std::vector<uint8_t>(60000));
    auto bytes = test::buildPng(picture);
    ASSERT_FALSE(bytes.empty());
    // Patch the header's height (bytes 20..23) and its CRC, so only the claim is wrong.
    bytes[20] = 0;
    bytes[21] = 0;
    bytes[22] = 0xEA;
    bytes[23] = 0x60;
    const uint32_t crc = static_cast<uint32_t>(crc32(0, bytes.data() + 12, 17));
    for (int i = 0; i < 4; ++i) {
        bytes[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    }
    image::DibImage image;
    EXPECT_EQ(decodePngMemory(bytes, image), PngDecodeResult::Implausible);
    EXPECT_FALSE(image.hasPixels());
}

TEST(PngDecoder, CallerPixelLimitAndSignatureAreEnforced) {
    const auto bytes = test::buildPng(makeSample(PNG_COLOR_TYPE_RGB, 8, false).picture);
    image::DibImage image;
    EXPECT_EQ(decodePngMemory(bytes, image, {.maxPixels = 13 * 11 - 1}), PngDecodeResult::TooLarge);
    EXPECT_EQ(decodePngMemory(bytes, image, {.maxPixels = 13 * 11}), PngDecodeResult::Ok);
    EXPECT_EQ(decodePngMemory(std::span(bytes).first(3), image), PngDecodeResult::NotPng);
}

} // namespace
} // namespace velmora::codecs
