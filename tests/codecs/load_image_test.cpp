#include "codecs/load_image.h"
#include "codecs/readers.h"

#include "bmp_builder.h"
#include "device_folder_fixture.h"
#include "jpeg_builder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace velmora::codecs {
namespace {

using test::bgrAt;
using Bgr = std::array<int, 3>;

// A 24-bit bitmap of one colour.
std::string solidBmp(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    test::BmpBuilder builder(width, height, 24);
    for (int i = 0; i < height; ++i) {
        builder.row({});
    }
    std::string bytes = builder.bytes();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const size_t at = 54 + y * builder.rowSize() + 3 * x;
            bytes[at] = static_cast<char>(blue);
            bytes[at + 1] = static_cast<char>(green);
            bytes[at + 2] = static_cast<char>(red);
        }
    }
    return bytes;
}

// The bounding box of the pixels that are not black.
struct Extent {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool operator==(const Extent&) const = default;
};
Extent nonBlackExtent(const image::DibImage& image) {
    Extent e;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (bgrAt(image, x, y) != Bgr{0, 0, 0}) {
                e = {std::min(e.left, x), std::min(e.top, y), std::max(e.right, x),
                     std::max(e.bottom, y)};
            }
        }
    }
    return e;
}

class LoadImage : public test::DeviceFolderTest {
  protected:
    image::LoadedImage image;
    image::DibImage target;
};

TEST_F(LoadImage, DispatchesByEndingAndRemembersPath) {
    const auto bmp = put("a.BMP", solidBmp(3, 2, 1, 2, 3));
    ASSERT_TRUE(loadImage(image, bmp));
    EXPECT_EQ(image.path, bmp);
    EXPECT_EQ(bgrAt(image, 2, 1), (Bgr{1, 2, 3}));

    const auto jpg = put("b.jpeg", test::solidJpeg(24, 8, 200, 100, 50));
    ASSERT_TRUE(loadImage(image, jpg));
    EXPECT_EQ(image.width(), 24);
    EXPECT_EQ(image.path, jpg);

    // The same bitmap bytes under a name of another format go to that format's reader.
    EXPECT_FALSE(loadImage(image, put("c.jpg", solidBmp(3, 2, 1, 2, 3))));
}

TEST_F(LoadImage, FailedLoadLeavesTheOldImageBlack) {
    ASSERT_TRUE(image.create(4, 4));
    image.fillColor(0x00FFFFFF);
    EXPECT_FALSE(loadImage(image, put("notes.txt", "hello")));
    EXPECT_EQ(image.path, devicePath("notes.txt"));
    EXPECT_EQ(nonBlackExtent(image), Extent{});

    image.fillColor(0x00FFFFFF);
    EXPECT_FALSE(loadImage(image, devicePath("missing.bmp")));
    EXPECT_EQ(nonBlackExtent(image), Extent{});
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LoadImage, FittedSmallPictureIsCentredUnscaled) {
    ASSERT_TRUE(loadImageFitted(target, put("small.bmp", solidBmp(50, 40, 9, 9, 9)), 100, 120));
    ASSERT_EQ(target.width(), 100);
    ASSERT_EQ(target.height(), 120);
    EXPECT_EQ(nonBlackExtent(target), (Extent{25, 40, 74, 79}));
}

TEST_F(LoadImage, FittedLargeJpegIsReducedAndCentred) {
    // 800 x 600 decodes at 1/4 (200 x 150), then fits the box as 100 x 75 at (0, 22).
    ASSERT_TRUE(
        loadImageFitted(target, put("big.jpg", test::solidJpeg(800, 600, 60, 90, 120)), 100, 120));
    EXPECT_EQ(nonBlackExtent(target), (Extent{0, 22, 99, 96}));
}

TEST_F(LoadImage, FittedFailureLeavesABlackBox) {
    ASSERT_TRUE(target.create(10, 10));
    target.fillColor(0x00FFFFFF);
    EXPECT_FALSE(loadImageFitted(target, put("notes.txt", "hello"), 100, 120));
    EXPECT_EQ(target.width(), 100);
    EXPECT_EQ(target.height(), 120);
    EXPECT_EQ(nonBlackExtent(target), Extent{});

    target.reportErrors = false; // a broken picture in a thumbnail page stays silent
    EXPECT_FALSE(loadImageFitted(target, put("broken.bmp", "BM broken"), 100, 120));
    EXPECT_EQ(nonBlackExtent(target), Extent{});
    EXPECT_TRUE(boxes.shown.empty());
}

class FakeStore : public ThumbnailStore {
  public:
    bool readThumbnail(image::DibImage& target, std::u16string_view path) override {
        reads.emplace_back(path);
        if (!hit) {
            return false;
        }
        target.fillColor(0x00010203);
        return true;
    }
    void writeThumbnail(const image::DibImage& thumbnail, std::u16string_view path) override {
        writes.emplace_back(path);
        writtenExtent = nonBlackExtent(thumbnail);
    }
    bool hit = false;
    std::vector<std::u16string> reads, writes;
    Extent writtenExtent;
};

TEST_F(LoadImage, ThumbnailStoreIsAskedFirstAndGivenNewThumbnails) {
    FakeStore store;
    setThumbnailStore(&store);
    const auto path = put("small.bmp", solidBmp(50, 40, 9, 9, 9));
    ASSERT_TRUE(loadImageFitted(target, path, 100, 120));
    EXPECT_EQ(store.reads, std::vector<std::u16string>{path});
    EXPECT_EQ(store.writes, std::vector<std::u16string>{path});
    EXPECT_EQ(store.writtenExtent, (Extent{25, 40, 74, 79}));

    store.hit = true;
    ASSERT_TRUE(loadImageFitted(target, devicePath("gone.bmp"), 100, 120));
    EXPECT_EQ(bgrAt(target, 0, 0), (Bgr{1, 2, 3})); // 0x00010203 is red 3, blue 1
    EXPECT_EQ(store.writes.size(), 1u);

    setThumbnailStore(nullptr);
    EXPECT_FALSE(loadImageFitted(target, devicePath("gone.bmp"), 100, 120));
    EXPECT_EQ(store.reads.size(), 2u);
}

TEST_F(LoadImage, SaveByTypeIndexPicksTheWriter) {
    ASSERT_TRUE(image.create(8, 8));
    ASSERT_TRUE(saveByTypeIndex(image, devicePath("a.jpg"), 0, 66));
    ASSERT_TRUE(saveByTypeIndex(image, devicePath("a.bmp"), 1, 66));
    EXPECT_EQ(contents("a.jpg").substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(contents("a.bmp").substr(0, 2), "BM");
    EXPECT_FALSE(saveByTypeIndex(image, devicePath("a.xyz"), 7, 66));
    EXPECT_EQ(shownIds(), std::vector<int>{ui::str::kWriteFailed});
}

TEST_F(LoadImage, DecodesDifferentFilesOnSeveralThreadsAtOnce) {
    const std::vector<std::u16string> paths = {
        put("t0.jpg", test::solidJpeg(300, 200, 10, 20, 30)),
        put("t1.bmp", solidBmp(300, 200, 40, 50, 60)),
        put("t2.jpg", test::solidJpeg(200, 300, 70, 80, 90)),
        put("t3.bmp", solidBmp(200, 300, 100, 110, 120)),
    };
    std::vector<image::LoadedImage> expected(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        ASSERT_TRUE(loadImage(expected[i], paths[i]));
    }
    std::vector<image::LoadedImage> results(paths.size());
    std::vector<int> loaded(paths.size(), 0);
    std::vector<std::thread> threads;
    for (size_t i = 0; i < paths.size(); ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 5; ++round) {
                results[i].reportErrors = false;
                loaded[i] += loadImage(results[i], paths[i]) ? 1 : 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(loaded[i], 5);
        ASSERT_EQ(results[i].height(), expected[i].height());
        EXPECT_EQ(0, std::memcmp(results[i].bits(), expected[i].bits(),
                                 size_t(expected[i].stride()) * expected[i].height()));
    }
}

} // namespace
} // namespace velmora::codecs
