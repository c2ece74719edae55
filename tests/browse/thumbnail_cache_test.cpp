#include "browse/thumbnail_cache.h"
#include "codecs/device_folder_fixture.h"
#include "codecs/load_image.h"
#include "codecs/readers.h"
#include "device_root_fixture.h"

#include <cstdlib>

namespace velmora::test {
namespace {

class ThumbnailCacheTest : public DeviceRootTest {
  protected:
    // Writes a 400 x 300 JPEG of one colour (0x00BBGGRR) and returns its device path.
    std::u16string photo(const std::string& relative, uint32_t color) {
        folder(std::filesystem::path(relative).parent_path().string());
        image::DibImage picture;
        EXPECT_TRUE(picture.create(400, 300));
        picture.fillColor(color);
        const std::u16string path = devicePath(relative);
        EXPECT_TRUE(codecs::saveJpeg(picture, path, 90));
        return path;
    }
    // Makes the thumbnail of path and returns the red byte at its centre; -1 on failure.
    static int thumbnailRed(std::u16string_view path) {
        image::DibImage thumbnail;
        if (!codecs::loadImageFitted(thumbnail, path, 100, 120)) {
            return -1;
        }
        return thumbnail.row(60)[3 * 50 + 2];
    }
    bool cached(const std::string& relative) const {
        return std::filesystem::exists(dir.path() / relative);
    }
};

constexpr uint32_t kRed = 0x0000F0;
constexpr uint32_t kBlue = 0xF00000;

TEST(ThumbnailPath, SitsInVelThumbsBesideThePicture) {
    EXPECT_EQ(browse::thumbnailPathOf(u"\\A\\b.jpg"), u"\\A\\VelThumbs\\th_b.jpg.jpg");
    EXPECT_EQ(browse::thumbnailPathOf(u"\\Storage Card\\Photos\\a.png"),
              u"\\Storage Card\\Photos\\VelThumbs\\th_a.png.jpg");
}

TEST_F(ThumbnailCacheTest, SecondVisitReadsTheCacheNotThePicture) {
    const auto path = photo("A/b.jpg", kRed);
    const browse::ThumbnailCacheUse use(true);
    EXPECT_GT(thumbnailRed(path), 200);
    ASSERT_TRUE(cached("A/VelThumbs/th_b.jpg.jpg"));
    image::LoadedImage stored;
    ASSERT_TRUE(codecs::loadImage(stored, u"\\A\\VelThumbs\\th_b.jpg.jpg"));
    EXPECT_EQ(stored.width(), 100);
    EXPECT_EQ(stored.height(), 120);

    // A new picture of the same name still shows the stored thumbnail.
    photo("A/b.jpg", kBlue);
    EXPECT_GT(thumbnailRed(path), 200);
    // A broken cache file is passed over: the picture itself is decoded (and stored anew).
    file("A/VelThumbs/th_b.jpg.jpg", "not a jpeg");
    EXPECT_LT(thumbnailRed(path), 50);
    EXPECT_LT(thumbnailRed(path), 50);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ThumbnailCacheTest, SwitchedOffNeitherCreatesNorReads) {
    const auto path = photo("A/b.jpg", kRed);
    {
        const browse::ThumbnailCacheUse use(false);
        EXPECT_GT(thumbnailRed(path), 200);
        EXPECT_FALSE(cached("A/VelThumbs"));
    }
    {
        const browse::ThumbnailCacheUse use(true);
        thumbnailRed(path);
    }
    photo("A/b.jpg", kBlue);
    const browse::ThumbnailCacheUse use(false);
    EXPECT_LT(thumbnailRed(path), 50);
}

TEST_F(ThumbnailCacheTest, FolderWithoutRoomForACacheIsBrowsedQuietly) {
    const auto path = photo("ro/b.jpg", kRed);
    file("ro/VelThumbs", "a file where the cache folder would go");
    const browse::ThumbnailCacheUse use(true);
    EXPECT_GT(thumbnailRed(path), 200);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ThumbnailCacheTest, FailedWriteLeavesNoThumbnailBehind) {
    const auto path = photo("A/b.jpg", kRed);
    folder("A/VelThumbs");
    image::DibImage thumbnail;
    ASSERT_TRUE(thumbnail.create(100, 120));
    {
        const FileSizeLimit limit(100);
        EXPECT_FALSE(browse::writeThumbnail(thumbnail, path));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "A/VelThumbs"));
}

} // namespace
} // namespace velmora::test
