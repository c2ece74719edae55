#include "codecs/jpeg/jpeg_reader.h"
#include "codecs/readers.h"

#include "device_folder_fixture.h"
#include "jpeg_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace velmora::codecs {
namespace {

using test::bgrAt;
using Bgr = std::array<int, 3>;

// Lossy coding moves a flat colour by a step or two.
void expectNear(const Bgr& actual, const Bgr& expected, int tolerance = 3) {
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
    }
}

class JpegRead : public test::DeviceFolderTest {
  protected:
    image::DibImage image;
};

TEST(JpegScale, ChosenWhenPictureIsThatManyTimesTheBoxBothWays) {
    struct Case {
        uint32_t width, height;
        int denominator;
    };
    const Case cases[] = {{1600, 1200, 8}, {800, 600, 4}, {400, 300, 2}, {300, 800, 2},
                          {150, 2000, 1},  {199, 240, 1}, {200, 240, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(jpeg::scaleDenominatorFor(c.width, c.height, 100, 120), c.denominator)
            << c.width << " x " << c.height;
    }
}

TEST_F(JpegRead, ScaledReaderDecodesInsideTheLibrary) {
    const auto path = put("p.jpg", test::solidJpeg(400, 300, 10, 120, 230));
    ASSERT_TRUE(loadJpegScaled(image, path, 100, 120));
    EXPECT_EQ(image.width(), 200);
    EXPECT_EQ(image.height(), 150);
    expectNear(bgrAt(image, 100, 75), {10, 120, 230});

    ASSERT_TRUE(loadJpeg(image, path));
    EXPECT_EQ(image.width(), 400);
    EXPECT_EQ(image.height(), 300);
    expectNear(bgrAt(image, 399, 299), {10, 120, 230});
}

TEST_F(JpegRead, ColourOrderIsBlueGreenRed) {
    // Left half pure blue, right half pure red: a swapped order would show up at once.
    const auto path =
        put("p.jpg", test::encodeJpeg(32, 16, JCS_EXT_BGR, [](int x, int, uint8_t* p) {
                p[0] = x < 16 ? 255 : 0;
                p[1] = 0;
                p[2] = x < 16 ? 0 : 255;
            }));
    ASSERT_TRUE(loadJpeg(image, path));
    expectNear(bgrAt(image, 4, 8), {255, 0, 0}, 12);
    expectNear(bgrAt(image, 28, 8), {0, 0, 255}, 12);
}

TEST_F(JpegRead, GreyscaleFillsAllThreeChannels) {
    const auto path =
        put("g.jpg", test::encodeJpeg(17, 9, JCS_GRAYSCALE, [](int x, int, uint8_t* p) {
                *p = static_cast<uint8_t>(x * 15);
            }));
    ASSERT_TRUE(loadJpeg(image, path));
    ASSERT_EQ(image.width(), 17);
    bool anyGrey = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Bgr p = bgrAt(image, x, y);
            ASSERT_EQ(p[0], p[1]);
            ASSERT_EQ(p[1], p[2]);
            anyGrey |= p[0] > 50 && p[0] < 200;
        }
    }
    EXPECT_TRUE(anyGrey);
}

TEST_F(JpegRead, CmykChannelsAddInkAndBlackLess255) {
    struct Case {
        uint8_t c, m, y, k;
        Bgr expected;
    };
    const Case cases[] = {{255, 255, 255, 255, {255, 255, 255}},
                          {255, 128, 40, 0, {0, 0, 0}},
                          {200, 255, 255, 100, {100, 100, 45}}};
    for (const auto& c : cases) {
        const auto path = put("c.jpg", test::encodeJpeg(
                                           16, 16, JCS_CMYK,
                                           [&](int, int, uint8_t* p) {
                                               p[0] = c.c;
                                               p[1] = c.m;
                                               p[2] = c.y;
                                               p[3] = c.k;
                                           },
                                           100));
        ASSERT_TRUE(loadJpeg(image, path));
        expectNear(bgrAt(image, 8, 8), c.expected);
    }
}

TEST_F(JpegRead, TruncatedFileDecodesToTheEnd) {
    // The top half is flat, the bottom half noise, so most of the data lies in the bottom half
    // and the cut falls there.
    const std::string whole = test::encodeJpeg(64, 64, JCS_EXT_BGR, [](int x, int y, uint8_t* p) {
        p[0] = p[1] = p[2] = static_cast<uint8_t>(y < 32 ? 40 : (x * 7919 + y * 104729) >> 4);
    });
    const auto path = put("t.jpg", whole.substr(0, whole.size() * 3 / 4));
    ASSERT_TRUE(loadJpeg(image, path));
    EXPECT_EQ(image.width(), 64);
    EXPECT_EQ(image.height(), 64);
    expectNear(bgrAt(image, 5, 5), {40, 40, 40}, 6);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(JpegRead, BrokenOrMissingFilesFailWithoutMessage) {
    const std::string valid = test::solidJpeg(8, 8, 1, 2, 3);
    EXPECT_FALSE(loadJpeg(image, put("empty.jpg", "")));
    EXPECT_FALSE(loadJpeg(image, put("text.jpg", "this is not a picture")));
    EXPECT_FALSE(loadJpeg(image, put("header-only.jpg", valid.substr(0, 20))));
    EXPECT_FALSE(loadJpeg(image, devicePath("missing.jpg")));
    std::filesystem::create_directory(dir.path() / "folder.jpg");
    EXPECT_FALSE(loadJpeg(image, devicePath("folder.jpg")));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(JpegRead, HostileSizeFailsFastWith316) {
    const std::string claim = test::withFrameSize(test::solidJpeg(8, 8, 1, 2, 3), 60000, 60000);
    EXPECT_FALSE(loadJpeg(image, put("huge.jpg", claim)));
    EXPECT_FALSE(image.hasPixels()) << "refused before the image was made";
    EXPECT_EQ(shownIds(), std::vector<int>{ui::str::kImageCreateFailed});
}

TEST_F(JpegRead, MemoryDecodeMatchesFileDecode) {
    const std::string bytes = test::encodeJpeg(40, 30, JCS_EXT_BGR, [](int x, int y, uint8_t* p) {
        p[0] = static_cast<uint8_t>(x * 6);
        p[1] = static_cast<uint8_t>(y * 8);
        p[2] = 99;
    });
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    image::DibImage fromMemory;
    ASSERT_TRUE(jpeg::decodeJpegFromMemory(fromMemory, data, bytes.size()));
    ASSERT_TRUE(loadJpeg(image, put("m.jpg", bytes)));
    ASSERT_EQ(fromMemory.stride(), image.stride());
    EXPECT_EQ(0, std::memcmp(fromMemory.bits(), image.bits(), size_t(image.stride()) * 30));

    ASSERT_TRUE(jpeg::decodeJpegScaledFromMemory(fromMemory, data, bytes.size(), 10, 10));
    EXPECT_EQ(fromMemory.width(), 20); // 30 is less than 4 times 10: 1/2
    EXPECT_EQ(fromMemory.height(), 15);
    EXPECT_FALSE(jpeg::decodeJpegFromMemory(fromMemory, nullptr, 0));
}

class JpegWrite : public test::DeviceFolderTest {
  protected:
    JpegWrite() {
        picture.create(37, 23); // odd sizes: partial blocks and padded rows
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                uint8_t* p = picture.row(y) + 3 * x;
                p[0] = static_cast<uint8_t>(x * 6);
                p[1] = static_cast<uint8_t>(y * 10);
                p[2] = static_cast<uint8_t>(200 - x * 2);
            }
        }
    }
    image::DibImage picture;
};

TEST_F(JpegWrite, Quality99RoundTripKeepsSizeAndColours) {
    ASSERT_TRUE(saveJpeg(picture, devicePath("out.jpg"), 99));
    image::DibImage back;
    ASSERT_TRUE(loadJpeg(back, devicePath("out.jpg")));
    ASSERT_EQ(back.width(), 37);
    ASSERT_EQ(back.height(), 23);
    for (int y = 0; y < 23; y += 5) {
        for (int x = 0; x < 37; x += 6) {
            expectNear(bgrAt(back, x, y), bgrAt(picture, x, y), 12);
        }
    }
    EXPECT_EQ(files(), std::vector<std::string>{"out.jpg"});
}

TEST_F(JpegWrite, QualityChangesTheFile) {
    ASSERT_TRUE(saveJpeg(picture, devicePath("high.jpg"), 99));
    ASSERT_TRUE(saveJpeg(picture, devicePath("low.jpg"), 20));
    EXPECT_LT(contents("low.jpg").size(), contents("high.jpg").size());
}

TEST_F(JpegWrite, FailuresShow40079AndKeepTheOldFile) {
    EXPECT_FALSE(saveJpeg(picture, devicePath("no-such-folder\\out.jpg"), 90));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "no-such-folder"));

    put("old.jpg", "previous contents");
    picture.create(400, 400);
    for (int y = 0; y < 400; ++y) {
        for (int i = 0; i < 1200; ++i) {
            picture.row(y)[i] = static_cast<uint8_t>((i * 7919 + y * 104729) >> 3);
        }
    }
    {
        test::FileSizeLimit limit(1000); // fails inside the library's destination
        EXPECT_FALSE(saveJpeg(picture, devicePath("old.jpg"), 90));
    }
    EXPECT_EQ(contents("old.jpg"), "previous contents");
    EXPECT_EQ(files(), std::vector<std::string>{"old.jpg"});

    image::DibImage empty;
    EXPECT_FALSE(saveJpeg(empty, devicePath("empty.jpg"), 90));
    const int failed = ui::str::kWriteFailed;
    EXPECT_EQ(shownIds(), (std::vector<int>{failed, failed, failed}));
}

} // namespace
} // namespace velmora::codecs
