#include "codecs/load_image.h"

#include "codecs/image_format.h"
#include "codecs/readers.h"

#include <atomic>

namespace velmora::codecs {
namespace {

std::atomic<ThumbnailStore*> thumbnailStore{nullptr};

LoadResult readFullSize(image::DibImage& image, ImageFormat format, std::u16string_view path,
                        const std::stop_token& stop = {}) {
    switch (format) {
    case ImageFormat::Jpeg:
        return loadJpeg(image, path, stop);
    case ImageFormat::Gif:
        return loadGif(image, path);
    case ImageFormat::Bmp:
        return loadBmp(image, path);
    case ImageFormat::Mag:
        return loadMag(image, path);
    case ImageFormat::Png:
        return loadPng(image, path);
    case ImageFormat::Tiff:
        return loadTiff(image, path);
    case ImageFormat::Webp:
    case ImageFormat::Avif:
    case ImageFormat::Heif:
    case ImageFormat::Jxl:
    case ImageFormat::None:
        break;
    }
    return {LoadCause::Unsupported};
}

} // namespace

void setThumbnailStore(ThumbnailStore* store) {
    thumbnailStore.store(store);
}

LoadResult loadImage(image::LoadedImage& image, std::u16string_view path,
                     const std::stop_token& stop) {
    image.path = path;
    image.fillBlack();
    return readFullSize(image, formatFromExtension(path), path, stop);
}

LoadResult loadImageFitted(image::DibImage& target, std::u16string_view path, int boxWidth,
                           int boxHeight) {
    target.fillBlack();
    const ImageFormat format = formatFromExtension(path);
    if (!target.create(boxWidth, boxHeight)) {
        return {LoadCause::OutOfMemory};
    }
    ThumbnailStore* store = thumbnailStore.load();
    if (store != nullptr && store->readThumbnail(target, path)) {
        return {LoadCause::Loaded};
    }
    image::LoadedImage picture;
    const LoadResult read = format == ImageFormat::Jpeg
                                ? loadJpegScaled(picture, path, boxWidth, boxHeight)
                                : readFullSize(picture, format, path);
    if (read) {
        target.fitFrom(picture);
        if (store != nullptr) {
            store->writeThumbnail(target, path);
        }
    }
    return read;
}

SaveResult saveByTypeIndex(const image::DibImage& image, std::u16string_view path, int typeIndex,
                           int quality) {
    switch (typeIndex) {
    case 0:
        return saveJpeg(image, path, quality);
    case 1:
        return saveBmp(image, path);
    case 2:
        return savePng(image, path);
    case 3:
        return saveTiff(image, path);
    default:
        return {SaveCause::UnknownType};
    }
}

} // namespace velmora::codecs
