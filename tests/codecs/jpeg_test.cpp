#include "codecs/jpeg/jpeg_reader.h"
#include "codecs/readers.h"
#include "codecs/reduction.h"

#include "device_folder_fixture.h"
#include "jpeg_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace velmora::codecs {
namespace {

using test::Bgr;
using test::bgrAt;

// Lossy coding moves a flat colour by a step or two.
void expectNear(const Bgr& actual, const Bgr& expected, int tolerance = 3) {
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(actual[c], expected[c], tolerance) << "channel " << c;
    }
}

class Jpeg : public test::DeviceFolderTest {
  protected:
    image::DibImage image;
};

TEST_F(Jpeg, ScaleNeedsThePictureThatManyTimesTheBoxBothWays) {
    const std::tuple<uint32_t, uint32_t, int> cases[] = {{1600, 1200, 8}, {800, 600, 4},
                                                         {400, 300, 2},   {300, 800, 2},
                                                         {150, 2000, 1},  {199, 240, 1}};
    for (const auto& [width, height, denominator] : cases) {
        EXPECT_EQ(reductionFor(width, height, 100, 120), denominator) << width;
    }
    const auto path = put("p.jpg", test::solidJpeg(400, 300, 10, 120, 230));
    ASSERT_TRUE(loadJpegScaled(image, path, 100, 120));
    EXPECT_EQ(image.width(), 200);
    EXPECT_EQ(image.height(), 150);
    expectNear(bgrAt(image, 199, 149), {10, 120, 230});
}

TEST_F(Jpeg, ColourGreyAndCmykBecomeBlueGreenRed) {
    // Left half blue, right half red: a swapped byte order shows at once.
    ASSERT_TRUE(loadJpeg(
        image, put("c.jpg", test::encodeJpeg(32, 16, JCS_EXT_BGR, [](int x, int, uint8_t* p) {
                       p[0] = x < 16 ? 255 : 0;
                       p[1] = 0;
                       p[2] = x < 16 ? 0 : 255;
                   }))));
    expectNear(bgrAt(image, 4, 8), {255, 0, 0}, 12);
    expectNear(bgrAt(image, 28, 8), {0, 0, 255}, 12);

    ASSERT_TRUE(loadJpeg(
        image, put("g.jpg", test::encodeJpeg(17, 9, JCS_GRAYSCALE, [](int x, int, uint8_t* p) {
                       *p = static_cast<uint8_t>(x * 15);
                   }))));
    expectNear(bgrAt(image, 8, 4), {120, 120, 120}, 12);
    for (int x = 0; x < 17; ++x) {
        const Bgr p = bgrAt(image, x, 4);
        EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]) << "x " << x;
    }

    // Each channel is its ink plus K less 255, at least 0 (stored as written: C M Y K).
    const std::pair<std::array<uint8_t, 4>, Bgr> cmyk[] = {{{255, 255, 255, 255}, {255, 255, 255}},
                                                           {{255, 128, 40, 0}, {0, 0, 0}},
                                                           {{200, 255, 255, 100}, {100, 100, 45}}};
    for (const auto& [ink, expected] : cmyk) {
        ASSERT_TRUE(loadJpeg(
            image,
            put("k.jpg", test::encodeJpeg(
                             16, 16, JCS_CMYK,
                             [&](int, int, uint8_t* p) { std::memcpy(p, ink.data(), 4); }, 100))));
        expectNear(bgrAt(image, 8, 8), expected);
    }
}

TEST_F(Jpeg, ProgressiveFileDecodesLikeItsBaselineTwin) {
    // The progressive reader keeps the whole picture's coefficients in the library's memory, the
    // path its memory limit governs. Its refined coefficients equal the baseline file's.
    const auto fill = [](int x, int y, uint8_t* p) {
        p[0] = static_cast<uint8_t>(x * 5 + y);
        p[1] = static_cast<uint8_t>((x * 7919 + y * 104729) >> 3);
        p[2] = static_cast<uint8_t>(y * 3);
    };
    const std::string baseline = test::encodeJpeg(203, 117, JCS_EXT_BGR, fill, 90);
    const std::string progressive = test::encodeJpeg(203, 117, JCS_EXT_BGR, fill, 90, true);
    ASSERT_NE(progressive.find("\xFF\xC2"), std::string::npos) << "no progressive frame";
    image::DibImage expected;
    for (const bool scaled : {false, true}) {
        const auto load = [&](image::DibImage& into, const char* name, const std::string& bytes) {
            return scaled ? loadJpegScaled(into, put(name, bytes), 50, 29)
                          : loadJpeg(into, put(name, bytes));
        };
        ASSERT_TRUE(load(expected, "b.jpg", baseline));
        ASSERT_TRUE(load(image, "p.jpg", progressive)) << "scaled " << scaled;
        ASSERT_EQ(image.width(), expected.width());
        ASSERT_EQ(image.height(), expected.height());
        for (int y = 0; y < image.height(); ++y) {
            ASSERT_EQ(0, std::memcmp(image.row(y), expected.row(y), 3 * size_t(image.width())))
                << "row " << y << " scaled " << scaled;
        }
    }
    EXPECT_EQ(image.width(), 51); // 203 / 4, rounded up
    // Cut after its first scans, a progressive file still shows the whole picture, coarser.
    ASSERT_TRUE(loadJpeg(image, put("cut.jpg", progressive.substr(0, progressive.size() / 3))));
    EXPECT_EQ(image.height(), 117);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Jpeg, TruncatedFileDecodesToTheEnd) {
    // Flat top half, noisy bottom half: most data lies at the bottom, where the cut falls.
    const std::string whole = test::encodeJpeg(64, 64, JCS_EXT_BGR, [](int x, int y, uint8_t* p) {
        p[0] = p[1] = p[2] = static_cast<uint8_t>(y < 32 ? 40 : (x * 7919 + y * 104729) >> 4);
    });
    ASSERT_TRUE(loadJpeg(image, put("t.jpg", whole.substr(0, whole.size() * 3 / 4))));
    EXPECT_EQ(image.height(), 64);
    expectNear(bgrAt(image, 5, 5), {40, 40, 40}, 6);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Jpeg, BrokenFilesAreUndecodableAndHugeOnesCannotBeMade) {
    const std::string valid = test::solidJpeg(8, 8, 1, 2, 3);
    EXPECT_EQ(loadJpeg(image, put("empty.jpg", "")).cause, LoadCause::Undecodable);
    EXPECT_EQ(loadJpeg(image, put("text.jpg", "this is not a picture")).cause,
              LoadCause::Undecodable);
    EXPECT_EQ(loadJpeg(image, put("header-only.jpg", valid.substr(0, 20))).cause,
              LoadCause::Undecodable);
    EXPECT_EQ(loadJpeg(image, devicePath("missing.jpg")).cause, LoadCause::CannotOpen);
    std::filesystem::create_directory(dir.path() / "folder.jpg");
    EXPECT_EQ(loadJpeg(image, devicePath("folder.jpg")).cause, LoadCause::CannotOpen);

    image.release();
    EXPECT_EQ(loadJpeg(image, put("huge.jpg", test::withFrameSize(valid, 60000, 60000))).cause,
              LoadCause::OutOfMemory);
    EXPECT_FALSE(image.hasPixels()) << "refused before the image was made";
    EXPECT_TRUE(boxes.shown.empty());
}

class JpegWrite : public test::DeviceFolderTest {
  protected:
    // Smooth ramps in every channel, to compare after a round trip.
    void paint(int width, int height) {
        EXPECT_TRUE(picture.create(width, height));
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* p = picture.row(y) + 3 * x;
                p[0] = static_cast<uint8_t>(x * 6 % 256);
                p[1] = static_cast<uint8_t>(y * 10 % 256);
                p[2] = static_cast<uint8_t>((250 - x * 3 - y) % 256);
            }
        }
    }
    image::DibImage picture;
};

TEST_F(JpegWrite, Quality99RoundTripKeepsSizeAndColours) {
    paint(37, 23); // odd sizes: partial blocks and padded rows
    ASSERT_TRUE(saveJpeg(picture, devicePath("out.jpg"), 99));
    image::DibImage back;
    ASSERT_TRUE(loadJpeg(back, devicePath("out.jpg")));
    ASSERT_EQ(back.width(), 37);
    ASSERT_EQ(back.height(), 23);
    for (int y = 0; y < 23; y += 11) {
        for (int x = 0; x < 37; x += 9) {
            EXPECT_NEAR(bgrAt(back, x, y)[0], x * 6, 8);
            EXPECT_NEAR(bgrAt(back, x, y)[1], y * 10, 8);
        }
    }
    EXPECT_EQ(files().size(), 1u);
}

TEST_F(JpegWrite, FailuresKeepTheOldFile) {
    paint(400, 400);
    EXPECT_FALSE(saveJpeg(picture, devicePath("no-such-folder\\out.jpg"), 90));
    put("old.jpg", "previous contents");
    {
        test::FileSizeLimit limit(1000); // fails inside the library's destination
        EXPECT_FALSE(saveJpeg(picture, devicePath("old.jpg"), 90));
    }
    EXPECT_EQ(contents("old.jpg"), "previous contents");
    EXPECT_EQ(files().size(), 1u);
    EXPECT_EQ(saveJpeg(image::DibImage(), devicePath("empty.jpg"), 90).cause, SaveCause::NoPicture);
    EXPECT_TRUE(boxes.shown.empty()) << "the caller speaks";
}

} // namespace
} // namespace velmora::codecs
