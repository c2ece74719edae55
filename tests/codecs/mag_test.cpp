#include "codecs/mag/mag_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"

#include "codecs/mag_builder.h"
#include "codecs/sample_pictures.h"
#include "support/concurrent_decodes.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <random>
#include <span>

namespace velmora::codecs::mag {
namespace {

using test::MagColor;
using test::MagFile;
using Lines = std::vector<std::vector<uint8_t>>;

std::span<const uint8_t> asBytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::vector<MagColor> testPalette(int n) {
    std::vector<MagColor> colors;
    for (int i = 0; i < n; ++i) {
        colors.push_back({static_cast<uint8_t>(255 - i), static_cast<uint8_t>(i * 53 + 7),
                          static_cast<uint8_t>(i * 29 + 1)});
    }
    return colors;
}

// Picture bytes as stored (2 pixels a byte at 16 colours), with runs and repeats so that every
// copy position finds matches.
Lines randomLines(int height, int rowBytes, unsigned seed) {
    std::mt19937 random(seed);
    Lines lines(height, std::vector<uint8_t>(rowBytes));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < rowBytes; ++x) {
            const int pick = static_cast<int>(random() % 6);
            uint8_t value = static_cast<uint8_t>(random());
            if (pick < 2 && y > 0) {
                value = lines[y - 1 - random() % std::min(y, 16)][x];
            } else if (pick < 4 && x >= 2) {
                value = lines[y][x - 2];
            }
            lines[y][x] = value;
        }
    }
    return lines;
}

MagFile encoded(bool colors256, int left, int right, const Lines& lines) {
    MagFile mag;
    mag.colors256 = colors256;
    mag.left = left;
    mag.right = right;
    mag.top = 0;
    mag.bottom = static_cast<int>(lines.size()) - 1;
    mag.palette = testPalette(colors256 ? 256 : 16);
    test::magEncode(mag, lines);
    return mag;
}

// The image shows lines through mag's palette: 4-bit bytes hold the left pixel high.
void expectPicture(const image::DibImage& image, const MagFile& mag, const Lines& lines) {
    const int bits = mag.colors256 ? 8 : 4;
    ASSERT_EQ(image.height(), static_cast<int>(lines.size()));
    ASSERT_EQ(image.width(), static_cast<int>(lines[0].size()) * 8 / bits);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const uint8_t byte = lines[y][x * bits / 8];
            const int index = bits == 8 ? byte : (x % 2 == 0 ? byte >> 4 : byte & 0x0F);
            const MagColor c = mag.palette[index];
            const uint8_t* p = image.row(y) + 3 * x;
            ASSERT_TRUE(p[0] == c.blue && p[1] == c.green && p[2] == c.red)
                << "pixel " << x << "," << y;
        }
    }
}

struct Decoded {
    MagResult result;
    PackedBitmap bitmap;
    MagSize size;
};

Decoded decodeBitmap(const std::string& file) {
    Decoded d;
    d.result = decodeMagBitmap(asBytes(file), d.bitmap, d.size);
    return d;
}

TEST(MagDecoder, WidthIsRoundedToWholeFlagBytes) {
    struct Case {
        bool colors256;
        int left, right, flagBytes, width;
    };
    const Case cases[] = {{false, 0, 639, 80, 640},
                          {true, 0, 317, 80, 320},
                          {false, 4, 11, 2, 16},
                          {true, 5, 6, 1, 4},
                          {false, 7, 8, 2, 16}};
    for (const Case& c : cases) {
        const int rowBytes = c.flagBytes * 4;
        const Lines lines = randomLines(3, rowBytes, c.right);
        const MagFile mag = encoded(c.colors256, c.left, c.right, lines);
        const Decoded d = decodeBitmap(test::buildMag(mag));
        ASSERT_EQ(d.result, MagResult::Decoded) << c.left << ".." << c.right;
        EXPECT_EQ(d.size.width, c.width);
        EXPECT_EQ(d.bitmap.data()[14], c.colors256 ? 8 : 4);
        image::DibImage image;
        ASSERT_TRUE(decodeMag(image, asBytes(test::buildMag(mag))));
        expectPicture(image, mag, lines);
    }
}

TEST(MagDecoder, FullScreenPicturesRoundTripAtBothDepths) {
    for (const bool colors256 : {false, true}) {
        const Lines lines = randomLines(400, 320, colors256 ? 2 : 1);
        const MagFile mag = encoded(colors256, 0, colors256 ? 319 : 639, lines);
        image::DibImage image;
        ASSERT_TRUE(decodeMag(image, asBytes(test::buildMag(mag))));
        expectPicture(image, mag, lines);
    }
}

TEST(MagDecoder, FlagsCopyFromAboveAndFromTheLeft) {
    // Two lines of one flag byte at 16 colours: the second line's first unit copies the unit
    // above (flag 4), its second unit the unit to its left (flag 1).
    MagFile mag;
    mag.right = 7;
    mag.bottom = 1;
    mag.palette = testPalette(16);
    mag.flagLines = {{0x00}, {0x41}};
    mag.pixelData = {0x12, 0x34, 0x56, 0x78};
    image::DibImage image;
    ASSERT_TRUE(decodeMag(image, asBytes(test::buildMag(mag))));
    expectPicture(image, mag, {{0x12, 0x34, 0x56, 0x78}, {0x12, 0x34, 0x12, 0x34}});
}

TEST(MagDecoder, ZeroFlagsTakeFourBytesOfPixelDataPerFlagByte) {
    MagFile mag;
    mag.colors256 = true;
    mag.right = 11; // 3 flag bytes
    mag.bottom = 1;
    mag.palette = testPalette(256);
    mag.flagLines = {{0, 0, 0}, {0, 0, 0}};
    Lines lines(2, std::vector<uint8_t>(12));
    for (int i = 0; i < 24; ++i) {
        lines[i / 12][i % 12] = static_cast<uint8_t>(i * 7);
        mag.pixelData.push_back(static_cast<uint8_t>(i * 7));
    }
    image::DibImage image;
    ASSERT_TRUE(decodeMag(image, asBytes(test::buildMag(mag))));
    expectPicture(image, mag, lines);

    mag.pixelData.pop_back(); // one unit short now
    EXPECT_EQ(decodeBitmap(test::buildMag(mag)).result, MagResult::StreamOutside);
}

TEST(MagDecoder, TwoHundredLineBitAndNonZeroTopChangeNothing) {
    const Lines lines = randomLines(7, 8, 5);
    MagFile mag = encoded(false, 0, 15, lines);
    mag.screenModeExtra = 0x01;
    mag.top = 100;
    mag.bottom = 106;
    image::DibImage image;
    ASSERT_TRUE(decodeMag(image, asBytes(test::buildMag(mag))));
    expectPicture(image, mag, lines);
}

TEST(MagDecoder, NotAMagFileFailsSilently) {
    MagFile mag;
    mag.right = 7;
    mag.flagLines = {{0}};
    mag.pixelData = {1, 2, 3, 4};
    const std::string good = test::buildMag(mag);
    std::string badSignature = good;
    badSignature[5] = '3';
    const size_t commentEnd = good.find('\x1A');

    EXPECT_EQ(decodeBitmap(badSignature).result, MagResult::BadSignature);
    EXPECT_EQ(decodeBitmap(good.substr(0, commentEnd)).result, MagResult::NoCommentEnd);
    EXPECT_EQ(decodeBitmap(good.substr(0, commentEnd + 32)).result, MagResult::HeaderCut);
    EXPECT_EQ(decodeBitmap(good.substr(0, commentEnd + 33 + 47)).result, MagResult::PaletteCut);

    test::RecordingMessageBox boxes;
    image::DibImage image;
    EXPECT_FALSE(decodeMag(image, asBytes(badSignature)));
    EXPECT_FALSE(decodeMag(image, asBytes(good.substr(0, commentEnd + 40))));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MagDecoder, BrokenGeometryAndStreamsAreRefusedSilently) {
    const Lines lines = randomLines(20, 8, 9);
    const MagFile good = encoded(false, 0, 15, lines);
    size_t header = 0;
    const std::string goodFile = test::buildMag(good, &header);

    MagFile upsideDown = good;
    upsideDown.top = 5;
    upsideDown.bottom = 4;
    MagFile tooWide = good;
    tooWide.right = 4096; // 513 flag bytes
    MagFile copyAboveTop = good;
    copyAboveTop.flagLines[0][0] = 0x40; // flag 4 on the top line
    MagFile copyLeftOfPicture = good;
    copyLeftOfPicture.flagLines.back()[0] = 0x10; // flag 1 at the first unit of the last line
    std::string flagAOutside = goodFile;
    test::magPutLe32(flagAOutside, header + test::kMagFlagAOffsetField, 0x7FFFFFF0);
    std::string pixelsOutside = goodFile;
    test::magPutLe32(pixelsOutside, header + test::kMagPixelOffsetField, 0xFFFFFFFF);
    std::string flagBAtEnd = goodFile;
    test::magPutLe32(flagBAtEnd, header + test::kMagFlagBOffsetField,
                     static_cast<uint32_t>(goodFile.size() - header));

    EXPECT_EQ(decodeBitmap(test::buildMag(upsideDown)).result, MagResult::BadGeometry);
    EXPECT_EQ(decodeBitmap(test::buildMag(tooWide)).result, MagResult::BadGeometry);
    EXPECT_EQ(decodeBitmap(test::buildMag(copyAboveTop)).result, MagResult::CopyOutside);
    EXPECT_EQ(decodeBitmap(test::buildMag(copyLeftOfPicture)).result, MagResult::CopyOutside);
    EXPECT_EQ(decodeBitmap(flagAOutside).result, MagResult::StreamOutside);
    EXPECT_EQ(decodeBitmap(pixelsOutside).result, MagResult::StreamOutside);
    EXPECT_EQ(decodeBitmap(flagBAtEnd).result, MagResult::StreamOutside);

    // Like results 1 to 4: the caller's load-failure box is the only message.
    test::RecordingMessageBox boxes;
    image::DibImage image;
    for (const std::string& file :
         {test::buildMag(upsideDown), test::buildMag(copyAboveTop), flagBAtEnd}) {
        EXPECT_FALSE(decodeMag(image, asBytes(file)));
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MagDecoder, EveryCutOfAFileFailsCleanly) {
    const Lines lines = randomLines(24, 16, 3);
    const std::string file = test::buildMag(encoded(true, 0, 15, lines));
    image::DibImage image;
    for (size_t length = 0; length < file.size(); ++length) {
        ASSERT_FALSE(decodeMag(image, asBytes(file.substr(0, length)))) << "cut at " << length;
    }
    EXPECT_TRUE(decodeMag(image, asBytes(file)));
}

TEST(MagDecoder, TinyFileClaimingAHugePictureFailsBeforeAllocating) {
    MagFile mag;
    mag.right = 4095;
    mag.top = -32768;
    mag.bottom = 32767;
    mag.flagLines = {};
    const std::string file = test::buildMag(mag);
    test::RecordingMessageBox boxes;
    image::DibImage image;
    EXPECT_EQ(decodeBitmap(file).result, MagResult::StreamOutside);
    EXPECT_FALSE(decodeMag(image, asBytes(file)));
    EXPECT_FALSE(image.hasPixels());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MagReader, LoadsFromTheDeviceFileSystem) {
    test::TempDir dir;
    platform::setDeviceRoot(dir.path());
    const Lines lines = randomLines(10, 8, 4);
    const MagFile mag = encoded(false, 0, 15, lines);
    dir.write("p.mag", test::buildMag(mag));
    image::DibImage image;
    ASSERT_TRUE(loadMag(image, u"\\p.mag"));
    expectPicture(image, mag, lines);
    EXPECT_FALSE(loadMag(image, u"\\none.mag"));
    platform::setDeviceRoot("/");
}

TEST(MagDecoder, DifferentFilesDecodeOnSeveralThreadsAtOnce) {
    std::vector<Lines> pictures;
    std::vector<MagFile> mags;
    std::vector<std::string> files;
    for (int i = 0; i < 4; ++i) {
        pictures.push_back(randomLines(120, 64 + 4 * i, 20 + i));
        mags.push_back(
            encoded(i % 2 == 1, 0, (i % 2 == 1 ? 1 : 2) * (64 + 4 * i) - 1, pictures.back()));
        files.push_back(test::buildMag(mags.back()));
    }
    std::vector<image::DibImage> images(files.size());
    const auto results = test::decodeConcurrently(
        images, files,
        [](image::DibImage& image, const std::string& file) {
            return static_cast<bool>(decodeMag(image, asBytes(file)));
        },
        5);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(results[i], 5);
        expectPicture(images[i], mags[i], pictures[i]);
    }
}

TEST(MagDecoder, SamplePicturesMatchTheirBmpTwins) {
    const auto folder = test::samplesFolder();
    if (!folder) {
        GTEST_SKIP() << "no samples folder";
    }
    for (const char* name : {"gradient", "shapes"}) {
        const auto bmp = test::readBmp24(*folder / (std::string(name) + ".bmp"));
        ASSERT_TRUE(bmp) << name;
        image::DibImage image;
        ASSERT_TRUE(decodeMag(image, test::readBytes(*folder / (std::string(name) + ".mag"))));
        ASSERT_EQ(image.width(), bmp->width);
        ASSERT_EQ(image.height(), bmp->height);
        EXPECT_EQ(test::differingPixels(image, *bmp), 0) << name;
    }
}

} // namespace
} // namespace velmora::codecs::mag
