#include "codecs/gif/gif_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"

#include "codecs/gif_builder.h"
#include "codecs/sample_pictures.h"
#include "support/concurrent_decodes.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"
#include "ui/string_table.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <span>

namespace velmora::codecs::gif {
namespace {

using test::GifBuilder;
using test::GifFrame;
using test::Rgb;

std::span<const uint8_t> asBytes(const std::string& s) {
    return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

std::vector<uint8_t> randomIndices(size_t count, int colors, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> indices(count);
    for (size_t i = 0; i < count; ++i) {
        // Runs of repeated values, so strings of many lengths reach the table.
        const bool repeat = i > 0 && random() % 4 != 0;
        indices[i] = static_cast<uint8_t>(repeat ? indices[i - 1] : random() % colors);
    }
    return indices;
}

Rgb pixelAt(const image::DibImage& image, int x, int y) {
    const uint8_t* p = image.row(y) + 3 * x;
    return {p[2], p[1], p[0]};
}

bool sameColor(Rgb a, Rgb b) {
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Every pixel of image is table[indices] inside the frame and table[background] elsewhere.
void expectCanvas(const image::DibImage& image, const GifFrame& frame,
                  const std::vector<Rgb>& table, int background) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= frame.left && x < frame.left + frame.width && y >= frame.top &&
                                y < frame.top + frame.height;
            const int index = inside
                                  ? frame.indices[(y - frame.top) * frame.width + (x - frame.left)]
                                  : background;
            ASSERT_TRUE(sameColor(pixelAt(image, x, y), table[index]))
                << "pixel " << x << "," << y << " index " << index;
        }
    }
}

std::string singleFrameGif(const GifFrame& frame, int screenWidth, int screenHeight,
                           const std::vector<Rgb>& table, int background = 0) {
    return GifBuilder()
        .screen(screenWidth, screenHeight, table, background)
        .graphicControl()
        .frame(frame)
        .trailer()
        .bytes();
}

GifFrame fullFrame(int width, int height, int colors, unsigned seed) {
    GifFrame frame;
    frame.width = width;
    frame.height = height;
    frame.indices = randomIndices(size_t(width) * height, colors, seed);
    return frame;
}

TEST(GifDecoder, PlainAndInterlacedFramesDecodeToThePicture) {
    const auto table = test::gifTestPalette(256);
    for (const bool interlaced : {false, true}) {
        for (const int height : {1, 2, 3, 5, 9, 10, 17, 64}) {
            GifFrame frame = fullFrame(31, height, 256, height);
            frame.interlaced = interlaced;
            image::DibImage image;
            ASSERT_TRUE(decodeGif(image, asBytes(singleFrameGif(frame, 31, height, table))));
            ASSERT_EQ(image.width(), 31);
            ASSERT_EQ(image.height(), height);
            expectCanvas(image, frame, table, 0);
        }
    }
}

TEST(GifDecoder, InterlacedRowsArriveInTheFourPassOrder) {
    // Each stored row is one colour: the n-th stored row has index n.
    const int order[] = {0, 8, 4, 2, 6, 1, 3, 5, 7, 9};
    GifFrame frame;
    frame.width = 4;
    frame.height = 10;
    std::vector<uint8_t> stored;
    for (int n = 0; n < 10; ++n) {
        stored.insert(stored.end(), 4, static_cast<uint8_t>(n));
    }
    const auto table = test::gifTestPalette(16);
    const std::string file = GifBuilder()
                                 .screen(4, 10, table)
                                 .descriptor({0, 0, 4, 10, true, {}, {}, 0, true})
                                 .byte(4)
                                 .raw(test::gifLzwSubBlocks(stored, 4))
                                 .trailer()
                                 .bytes();
    image::DibImage image;
    ASSERT_TRUE(decodeGif(image, asBytes(file)));
    for (int n = 0; n < 10; ++n) {
        EXPECT_TRUE(sameColor(pixelAt(image, 3, order[n]), table[n])) << "stored row " << n;
    }
}

TEST(GifDecoder, OffsetFrameSitsOnTheBackgroundColour) {
    const auto table = test::gifTestPalette(256);
    GifFrame frame = fullFrame(100, 50, 256, 7);
    frame.left = 10;
    frame.top = 20;
    image::DibImage image;
    ASSERT_TRUE(decodeGif(image, asBytes(singleFrameGif(frame, 200, 100, table, 3))));
    ASSERT_EQ(image.width(), 200);
    ASSERT_EQ(image.height(), 100);
    expectCanvas(image, frame, table, 3);
}

TEST(GifDecoder, TableSizeChoosesOneFourOrEightBitsAndPacksOddOffsets) {
    struct Case {
        int colors, bits;
    };
    for (const Case c : {Case{2, 1}, Case{4, 4}, Case{16, 4}, Case{32, 8}, Case{256, 8}}) {
        const auto table = test::gifTestPalette(c.colors);
        GifFrame frame = fullFrame(13, 7, c.colors, c.colors);
        frame.left = 5; // odd: nibbles and bits start mid-byte
        frame.top = 2;
        const std::string file = singleFrameGif(frame, 23, 11, table, c.colors - 1);
        PackedBitmap canvas;
        ASSERT_EQ(gifDecode(asBytes(file), canvas, 1), LoadStatus::Decoded);
        EXPECT_EQ(canvas.data()[14], c.bits) << c.colors << " colours";
        image::DibImage image;
        ASSERT_TRUE(decodeGif(image, asBytes(file)));
        expectCanvas(image, frame, table, c.colors - 1);
    }
}

TEST(GifDecoder, LocalTableWinsOverGlobalTable) {
    const auto global = test::gifTestPalette(256);
    std::vector<Rgb> local = {{1, 2, 3}, {200, 100, 50}, {9, 9, 9}, {40, 50, 60}};
    GifFrame frame = fullFrame(9, 4, 4, 3);
    frame.localTable = local;
    image::DibImage image;
    ASSERT_TRUE(decodeGif(image, asBytes(singleFrameGif(frame, 9, 4, global))));
    expectCanvas(image, frame, local, 0);
}

TEST(GifDecoder, NoTableGivesBlackAndWhiteButAWideSizeFieldIsRefused) {
    GifFrame frame = fullFrame(8, 2, 2, 5);
    const std::string bw = GifBuilder().screen(8, 2, {}, 0, 0).frame(frame).trailer().bytes();
    image::DibImage image;
    ASSERT_TRUE(decodeGif(image, asBytes(bw)));
    expectCanvas(image, frame, {{0, 0, 0}, {255, 255, 255}}, 0);

    const std::string wide = GifBuilder().screen(8, 2, {}, 0, 2).frame(frame).trailer().bytes();
    PackedBitmap canvas;
    EXPECT_EQ(gifDecode(asBytes(wide), canvas, 1), LoadStatus::NotGif);
}

TEST(GifDecoder, FullTableWithAndWithoutClearCodes) {
    // Enough varied data to grow the code width to 12 and fill the table several times.
    const auto table = test::gifTestPalette(256);
    for (const bool clearWhenFull : {true, false}) {
        GifFrame frame = fullFrame(300, 200, 256, 99);
        frame.clearWhenFull = clearWhenFull;
        image::DibImage image;
        ASSERT_TRUE(decodeGif(image, asBytes(singleFrameGif(frame, 300, 200, table))));
        expectCanvas(image, frame, table, 0);
    }
}

TEST(GifDecoder, SmallCodeSizesDecode) {
    const auto table = test::gifTestPalette(2);
    for (const int codeSize : {1, 2, 3, 8}) {
        GifFrame frame = fullFrame(40, 30, 2, codeSize);
        frame.codeSize = codeSize;
        image::DibImage image;
        ASSERT_TRUE(decodeGif(image, asBytes(singleFrameGif(frame, 40, 30, table))))
            << "code size " << codeSize;
        expectCanvas(image, frame, table, 0);
    }
}

// How many pixels of frame, taken in the order the file stores them, image shows in place before
// the rest of the screen is background; a pixel that is neither fails the test.
size_t storedPixelsShown(const image::DibImage& image, const GifFrame& frame,
                         const std::vector<Rgb>& table, int background) {
    std::vector<int> rows = test::gifInterlacedRowOrder(frame.height);
    if (!frame.interlaced) {
        std::iota(rows.begin(), rows.end(), 0);
    }
    std::vector<bool> inFrame(size_t(image.width()) * image.height(), false);
    size_t shown = 0;
    bool cut = false;
    for (const int y : rows) {
        for (int x = 0; x < frame.width; ++x) {
            const Rgb pixel = pixelAt(image, frame.left + x, frame.top + y);
            inFrame[size_t(frame.top + y) * image.width() + frame.left + x] = true;
            if (!cut && sameColor(pixel, table[frame.indices[size_t(y) * frame.width + x]])) {
                ++shown;
                continue;
            }
            cut = true;
            if (!sameColor(pixel, table[background])) {
                ADD_FAILURE() << "frame pixel " << x << "," << y << " after " << shown;
                return shown;
            }
        }
    }
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inFrame[size_t(y) * image.width() + x] &&
                !sameColor(pixelAt(image, x, y), table[background])) {
                ADD_FAILURE() << "screen pixel " << x << "," << y;
                return shown;
            }
        }
    }
    return shown;
}

TEST(GifDecoder, LargePicturesShowTheIndicesTheyWereMadeFrom) {
    // Big enough that the decoded output runs far past what the decoder keeps to copy strings
    // from: flat colour and a repeating pattern give strings of hundreds of bytes, a kept full
    // table old ones.
    enum class Fill { Flat, Pattern, Noisy };
    using enum Fill;
    struct Case {
        const char* name;
        int colors;
        Fill fill;
        int screenWidth, screenHeight, left, top, width, height;
        bool interlaced = false;
        bool clearWhenFull = true;
        int extraPixels = 0; // data for more pixels than the frame has
        int keptBlocks = -1; // data sub-blocks kept before the data ends; -1: all
    };
    const Case cases[] = {
        {"flat, 1 bit", 2, Flat, 640, 480, 0, 0, 640, 480},
        {"flat, 4 bits, offset", 16, Flat, 701, 500, 33, 17, 601, 450},
        {"pattern, 8 bits, interlaced", 256, Pattern, 500, 400, 0, 0, 500, 400, true},
        {"photo-like, 8 bits, interlaced", 256, Noisy, 500, 400, 0, 0, 500, 400, true},
        {"photo-like, full table kept", 256, Noisy, 512, 512, 0, 0, 512, 512, false, false},
        {"pattern, 1 bit, odd offset", 2, Pattern, 403, 300, 3, 5, 333, 211, true},
        {"photo-like, 4 bits, clear codes", 16, Noisy, 601, 400, 1, 0, 599, 400},
        {"more data than pixels", 256, Noisy, 300, 300, 7, 9, 290, 280, false, true, 5000},
        {"flat, data ends early", 16, Flat, 640, 480, 0, 0, 640, 480, false, true, 0, 2},
        {"pattern, data ends early", 16, Pattern, 640, 480, 0, 0, 640, 480, false, true, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto table = test::gifTestPalette(c.colors);
        const int background = c.colors - 1;
        GifFrame frame;
        frame.left = c.left;
        frame.top = c.top;
        frame.width = c.width;
        frame.height = c.height;
        frame.interlaced = c.interlaced;
        frame.clearWhenFull = c.clearWhenFull;
        const size_t count = size_t(c.width) * c.height + c.extraPixels;
        frame.indices = c.fill == Noisy ? randomIndices(count, c.colors, c.width)
                                        : std::vector<uint8_t>(count, 0);
        if (c.fill == Pattern) {
            for (size_t i = 0; i < count; ++i) {
                frame.indices[i] = static_cast<uint8_t>(i % 61 % 7 % c.colors);
            }
        }
        std::string file = singleFrameGif(frame, c.screenWidth, c.screenHeight, table, background);
        if (c.keptBlocks >= 0) {
            // Header, table, graphic control, descriptor and code size come before the data.
            const size_t dataStart =
                13 + 3 * (size_t{2} << test::gifSizeField(c.colors)) + 8 + 10 + 1;
            file = file.substr(0, dataStart + 256 * size_t(c.keptBlocks)) + '\0' + ';';
        }
        image::DibImage image;
        ASSERT_TRUE(decodeGif(image, asBytes(file)));
        const size_t shown = storedPixelsShown(image, frame, table, background);
        if (c.keptBlocks >= 0) {
            EXPECT_GT(shown, 0u);
            EXPECT_LT(shown, size_t(c.width) * c.height);
        } else {
            EXPECT_EQ(shown, size_t(c.width) * c.height);
        }
    }
}

TEST(GifDecoder, OnlyTheFirstOfTwoImagesIsShownAndExtensionsAreSkipped) {
    const auto table = test::gifTestPalette(16);
    GifFrame first = fullFrame(20, 10, 16, 1);
    GifFrame second = fullFrame(20, 10, 16, 2);
    const std::string file = GifBuilder()
                                 .raw(std::string(128, 'x')) // junk before the signature
                                 .screen(20, 10, table)
                                 .application()
                                 .comment("made by a test")
                                 .byte(0x00) // a stray byte between blocks
                                 .graphicControl()
                                 .frame(first)
                                 .graphicControl()
                                 .frame(second)
                                 .trailer()
                                 .bytes();
    image::DibImage image;
    ASSERT_TRUE(decodeGif(image, asBytes(file)));
    expectCanvas(image, first, table, 0);
    PackedBitmap canvas;
    ASSERT_EQ(gifDecode(asBytes(file), canvas, 2), LoadStatus::Decoded);
    ASSERT_FALSE(canvas.empty());
}

TEST(GifDecoder, BrokenStructureIsRefusedSilently) {
    const auto table = test::gifTestPalette(4);
    const GifFrame frame = fullFrame(6, 6, 4, 4);
    const std::string good = singleFrameGif(frame, 6, 6, table);
    std::string gix = good;
    gix[2] = 'X';
    std::string version7 = good;
    version7[3] = '7';
    GifFrame pastScreen = frame;
    pastScreen.left = 1;
    GifFrame codeSize9 = frame;
    codeSize9.codeSize = 9;

    test::RecordingMessageBox boxes;
    image::DibImage image;
    EXPECT_EQ(gifScan(asBytes(gix)).status, LoadStatus::NotGif);
    EXPECT_EQ(gifScan(asBytes(version7)).status, LoadStatus::NotGif);
    EXPECT_EQ(gifScan(asBytes(good.substr(0, good.size() - 1))).status, LoadStatus::NotGif);
    PackedBitmap canvas;
    EXPECT_EQ(gifDecode(asBytes(singleFrameGif(pastScreen, 6, 6, table)), canvas, 1),
              LoadStatus::NotGif);
    EXPECT_EQ(gifDecode(asBytes(singleFrameGif(codeSize9, 6, 6, table)), canvas, 1),
              LoadStatus::NotGif);
    EXPECT_FALSE(decodeGif(image, asBytes(singleFrameGif(codeSize9, 6, 6, table))));
    // Every cut of the file fails: the trailer is its last byte.
    for (size_t length = 0; length < good.size(); ++length) {
        ASSERT_FALSE(decodeGif(image, asBytes(good.substr(0, length)))) << "cut at " << length;
    }
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(decodeGif(image, asBytes(good)));
}

TEST(GifDecoder, DataEndingEarlyKeepsWhatWasDecodedOnTheBackground) {
    const auto table = test::gifTestPalette(256);
    GifFrame frame = fullFrame(64, 64, 256, 12);
    std::string blocks = test::gifLzwSubBlocks(frame.indices, 8);
    // Keep the first sub-block only: the rest of the picture stays background.
    std::string cut = blocks.substr(0, 1 + static_cast<uint8_t>(blocks[0])) + std::string(1, '\0');
    const std::string file =
        GifBuilder().screen(64, 64, table, 5).descriptor(frame).byte(8).raw(cut).trailer().bytes();
    image::DibImage image;
    ASSERT_TRUE(decodeGif(image, asBytes(file)));
    EXPECT_TRUE(sameColor(pixelAt(image, 0, 0), table[frame.indices[0]]));
    EXPECT_TRUE(sameColor(pixelAt(image, 63, 63), table[5]));
}

TEST(GifDecoder, PictureWithoutImageOrScreenIsFaulty) {
    image::DibImage image;
    const auto table = test::gifTestPalette(2);
    EXPECT_EQ(decodeGif(image, asBytes(GifBuilder().screen(8, 8, table).trailer().bytes())).cause,
              LoadCause::Faulty);
    EXPECT_EQ(decodeGif(image, asBytes(singleFrameGif(fullFrame(0, 0, 2, 1), 0, 8, table))).cause,
              LoadCause::Faulty);
}

TEST(GifDecoder, HugeScreenInATinyFileIsTooLargeWithoutDecoding) {
    test::GifFrame onePixel;
    onePixel.width = onePixel.height = 1;
    const std::string file = GifBuilder()
                                 .screen(60000, 60000, test::gifTestPalette(2))
                                 .descriptor(onePixel)
                                 .byte(2)
                                 .raw(std::string("\x02\x4C\x01\x00", 4))
                                 .trailer()
                                 .bytes();
    ASSERT_LE(file.size(), 40u);
    image::DibImage image;
    EXPECT_EQ(decodeGif(image, asBytes(file)).cause, LoadCause::TooLarge);
}

TEST(GifReader, LoadsFromTheDeviceFileSystem) {
    test::TempDir dir;
    platform::setDeviceRoot(dir.path());
    const auto table = test::gifTestPalette(16);
    const GifFrame frame = fullFrame(12, 8, 16, 3);
    dir.write("pics/a.gif", singleFrameGif(frame, 12, 8, table));
    test::RecordingMessageBox boxes;
    image::DibImage image;
    ASSERT_TRUE(loadGif(image, u"\\pics\\a.gif"));
    expectCanvas(image, frame, table, 0);
    EXPECT_FALSE(loadGif(image, u"\\pics\\missing.gif"));
    EXPECT_TRUE(boxes.shown.empty());
    platform::setDeviceRoot("/");
}

TEST(GifDecoder, DifferentFilesDecodeOnSeveralThreadsAtOnce) {
    const auto table = test::gifTestPalette(256);
    std::vector<std::string> files;
    std::vector<GifFrame> frames;
    for (int i = 0; i < 4; ++i) {
        frames.push_back(fullFrame(120 + i, 90, 256, 40 + i));
        frames.back().interlaced = i % 2 == 1;
        files.push_back(singleFrameGif(frames.back(), 120 + i, 90, table));
    }
    std::vector<image::DibImage> images(files.size());
    const auto results = test::decodeConcurrently(
        images, files,
        [](image::DibImage& image, const std::string& file) {
            return static_cast<bool>(decodeGif(image, asBytes(file)));
        },
        5);
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(results[i], 5);
        expectCanvas(images[i], frames[i], table, 0);
    }
}

TEST(GifDecoder, SamplePicturesMatchTheirBmpTwins) {
    const auto folder = test::samplesFolder();
    if (!folder) {
        GTEST_SKIP() << "no samples folder";
    }
    for (const auto& [gifName, bmpName] :
         {std::pair{"gradient.gif", "gradient.bmp"}, std::pair{"shapes.gif", "shapes.bmp"},
          std::pair{"shapes-interlaced.gif", "shapes.bmp"}}) {
        const auto bmp = test::readBmp24(*folder / bmpName);
        ASSERT_TRUE(bmp) << bmpName;
        image::DibImage image;
        ASSERT_TRUE(decodeGif(image, test::readBytes(*folder / gifName))) << gifName;
        ASSERT_EQ(image.width(), bmp->width);
        ASSERT_EQ(image.height(), bmp->height);
        EXPECT_EQ(test::differingPixels(image, *bmp), 0) << gifName;
    }
}

} // namespace
} // namespace velmora::codecs::gif
