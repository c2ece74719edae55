#include "codecs/load_image.h"

#include "bmp_builder.h"
#include "device_folder_fixture.h"
#include "jpeg_builder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <stop_token>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velmora::codecs {
namespace {

using test::Bgr;
using test::bgrAt;
using test::solidBmp;

// The bounding box (left, top, right, bottom) of the pixels that are not black.
std::array<int, 4> nonBlackExtent(const image::DibImage& image) {
    std::array<int, 4> e{1 << 30, 1 << 30, -1, -1};
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (bgrAt(image, x, y) != Bgr{0, 0, 0}) {
                e = {std::min(e[0], x), std::min(e[1], y), std::max(e[2], x), std::max(e[3], y)};
            }
        }
    }
    return e;
}
const std::array<int, 4> kAllBlack{1 << 30, 1 << 30, -1, -1};

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
    ASSERT_TRUE(loadImage(image, put("b.jpeg", test::solidJpeg(24, 8, 200, 100, 50))));
    EXPECT_EQ(image.width(), 24);
    // Bitmap bytes under a JPEG name go to the JPEG reader, which refuses them.
    EXPECT_FALSE(loadImage(image, put("c.jpg", solidBmp(3, 2, 1, 2, 3))));

    // A failed load leaves the image as it stood, filled black.
    ASSERT_TRUE(image.create(4, 4));
    image.fillColor(0x00FFFFFF);
    EXPECT_FALSE(loadImage(image, put("notes.txt", "hello")));
    EXPECT_EQ(image.path, devicePath("notes.txt"));
    EXPECT_EQ(nonBlackExtent(image), kAllBlack);
    EXPECT_TRUE(boxes.shown.empty());

    // A stop is seen while the old pixels are blacked out, which on untouched pages of a big
    // buffer takes long: asked for before the load, it leaves them as they stood.
    image.fillColor(0x00FFFFFF);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(loadImage(image, bmp, stop.get_token()).cause, LoadCause::Stopped);
    EXPECT_NE(nonBlackExtent(image), kAllBlack);
}

TEST_F(LoadImage, FittedPicturesAreCentredInTheBox) {
    ASSERT_TRUE(loadImageFitted(target, put("small.bmp", solidBmp(50, 40, 9, 9, 9)), 100, 120));
    ASSERT_EQ(target.width(), 100);
    ASSERT_EQ(target.height(), 120);
    EXPECT_EQ(nonBlackExtent(target), (std::array<int, 4>{25, 40, 74, 79})) << "unscaled";
    // 800 x 600 decodes at 1/4 (200 x 150), then fits as 100 x 75 at (0, 22).
    ASSERT_TRUE(
        loadImageFitted(target, put("big.jpg", test::solidJpeg(800, 600, 60, 90, 120)), 100, 120));
    EXPECT_EQ(nonBlackExtent(target), (std::array<int, 4>{0, 22, 99, 96}));
}

TEST_F(LoadImage, FittedFailureLeavesABlackBox) {
    EXPECT_FALSE(loadImageFitted(target, put("notes.txt", "hello"), 100, 120));
    EXPECT_EQ(target.width(), 100);
    EXPECT_EQ(target.height(), 120);
    EXPECT_EQ(nonBlackExtent(target), kAllBlack);
    EXPECT_FALSE(loadImageFitted(target, put("broken.bmp", "BM broken"), 100, 120));
    EXPECT_EQ(nonBlackExtent(target), kAllBlack);
    EXPECT_TRUE(boxes.shown.empty());
}

class FakeStore : public ThumbnailStore {
  public:
    bool readThumbnail(image::DibImage& target, std::u16string_view) override {
        ++reads;
        if (hit) {
            target.fillColor(0x00010203);
        }
        return hit;
    }
    void writeThumbnail(const image::DibImage& thumbnail, std::u16string_view path) override {
        written.emplace_back(path);
        writtenExtent = nonBlackExtent(thumbnail);
    }
    bool hit = false;
    int reads = 0;
    std::vector<std::u16string> written;
    std::array<int, 4> writtenExtent{};
};

TEST_F(LoadImage, ThumbnailStoreIsAskedFirstAndGivenNewThumbnails) {
    FakeStore store;
    setThumbnailStore(&store);
    const auto path = put("small.bmp", solidBmp(50, 40, 9, 9, 9));
    ASSERT_TRUE(loadImageFitted(target, path, 100, 120));
    EXPECT_EQ(store.written, std::vector<std::u16string>{path});
    EXPECT_EQ(store.writtenExtent, (std::array<int, 4>{25, 40, 74, 79}));
    store.hit = true;
    ASSERT_TRUE(loadImageFitted(target, devicePath("gone.bmp"), 100, 120));
    EXPECT_EQ(bgrAt(target, 0, 0), (Bgr{1, 2, 3}));
    setThumbnailStore(nullptr);
    EXPECT_FALSE(loadImageFitted(target, devicePath("gone.bmp"), 100, 120));
    EXPECT_EQ(store.reads, 2);
    EXPECT_EQ(store.written.size(), 1u);
}

TEST_F(LoadImage, SaveByTypeIndexPicksTheWriter) {
    ASSERT_TRUE(image.create(8, 8));
    ASSERT_TRUE(saveByTypeIndex(image, devicePath("a.jpg"), 0, 66));
    ASSERT_TRUE(saveByTypeIndex(image, devicePath("a.bmp"), 1, 66));
    EXPECT_EQ(contents("a.jpg").substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(contents("a.bmp").substr(0, 2), "BM");
    EXPECT_EQ(saveByTypeIndex(image, devicePath("a.xyz"), 7, 66).cause, SaveCause::UnknownType);
}

TEST_F(LoadImage, SpecialFilesAreRefusedWithoutWaiting) {
    // A named pipe with no writer blocks a plain open for ever, and a folder is no picture.
    for (const char* ending : {"jpg", "gif", "bmp", "mag", "png", "tif", "webp", "avif"}) {
        const std::string pipe = std::string("pipe.") + ending;
        const std::string folder = std::string("folder.") + ending;
        ASSERT_EQ(mkfifo((dir.path() / pipe).c_str(), 0600), 0);
        std::filesystem::create_directory(dir.path() / folder);
        std::packaged_task<bool()> load([&] {
            image::LoadedImage picture;
            return loadImage(picture, devicePath(pipe)) || loadImage(picture, devicePath(folder));
        });
        std::future<bool> loaded = load.get_future();
        std::thread worker(std::move(load));
        const bool finished =
            loaded.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
        if (!finished) { // let the reader go: a writer that closes at once gives it an empty file
            ::close(::open((dir.path() / pipe).c_str(), O_WRONLY | O_NONBLOCK));
        }
        worker.join();
        EXPECT_TRUE(finished) << pipe << " blocked the reader";
        EXPECT_FALSE(loaded.get()) << ending;
    }
}

TEST_F(LoadImage, DecodesDifferentFilesOnSeveralThreadsAtOnce) {
    const std::u16string paths[] = {put("t0.jpg", test::solidJpeg(300, 200, 10, 20, 30)),
                                    put("t1.bmp", solidBmp(300, 200, 40, 50, 60)),
                                    put("t2.jpg", test::solidJpeg(200, 300, 70, 80, 90)),
                                    put("t3.bmp", solidBmp(200, 300, 100, 110, 120))};
    image::LoadedImage expected[4], results[4];
    int loaded[4] = {};
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(loadImage(expected[i], paths[i]));
    }
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i) {
        threads.emplace_back([&, i] {
            for (int round = 0; round < 5; ++round) {
                loaded[i] += loadImage(results[i], paths[i]) ? 1 : 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loaded[i], 5);
        ASSERT_EQ(results[i].height(), expected[i].height());
        EXPECT_EQ(0, std::memcmp(results[i].bits(), expected[i].bits(),
                                 size_t(expected[i].stride()) * expected[i].height()));
    }
}

} // namespace
} // namespace velmora::codecs
