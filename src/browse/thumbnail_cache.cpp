#include "browse/thumbnail_cache.h"

#include "codecs/readers.h"
#include "image/loaded_image.h"
#include "platform/device_fs.h"

namespace velmora::browse {
namespace {

std::u16string cacheFolderOf(std::u16string_view picturePath) {
    std::u16string folder = platform::folderPart(picturePath);
    folder += kThumbnailFolderName;
    return folder;
}

} // namespace

std::u16string thumbnailPathOf(std::u16string_view picturePath) {
    std::u16string path = cacheFolderOf(picturePath);
    path += u"\\th_";
    path += platform::fileNamePart(picturePath);
    path += u".jpg";
    return path;
}

bool readThumbnail(image::DibImage& target, std::u16string_view picturePath) {
    const std::u16string cachePath = thumbnailPathOf(picturePath);
    if (!platform::exists(cachePath)) {
        return false;
    }
    image::LoadedImage stored;
    if (!codecs::loadImage(stored, cachePath)) {
        return false;
    }
    target.fitFrom(stored);
    return true;
}

bool writeThumbnail(const image::DibImage& thumbnail, std::u16string_view picturePath) {
    const std::u16string folder = cacheFolderOf(picturePath);
    if (!platform::isDirectory(folder) && !platform::createDirectory(folder)) {
        return false;
    }
    // A lost thumbnail is made again, so the write does not wait for the medium.
    return static_cast<bool>(codecs::saveJpeg(thumbnail, thumbnailPathOf(picturePath),
                                              kThumbnailQuality, platform::Durability::Unsynced));
}

bool ThumbnailCache::readThumbnail(image::DibImage& target, std::u16string_view path) {
    return browse::readThumbnail(target, path);
}

void ThumbnailCache::writeThumbnail(const image::DibImage& thumbnail, std::u16string_view path) {
    (void)browse::writeThumbnail(thumbnail, path); // a lost thumbnail is made again
}

ThumbnailCacheUse::ThumbnailCacheUse(bool enabled) : enabled_(enabled) {
    if (enabled_) {
        codecs::setThumbnailStore(&cache_);
    }
}

ThumbnailCacheUse::~ThumbnailCacheUse() {
    if (enabled_) {
        codecs::setThumbnailStore(nullptr);
    }
}

} // namespace velmora::browse
