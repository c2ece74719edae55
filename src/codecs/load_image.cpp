#include "codecs/load_image.h"

#include "codecs/image_format.h"
#include "codecs/jpeg/lossless_turn.h"
#include "codecs/metadata/jpeg_markers.h"
#include "codecs/readers.h"
#include "image/checker_compose.h"
#include "image/flatten.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace velmora::codecs {
namespace {

std::atomic<ThumbnailStore*> thumbnailStore{nullptr};

LoadResult readFullSize(image::DibImage& image, ImageFormat format, std::u16string_view path,
                        image::PictureMetadata* metadata = nullptr,
                        const std::stop_token& stop = {}) {
    switch (format) {
    case ImageFormat::Jpeg:
        return loadJpeg(image, path, metadata, stop);
    case ImageFormat::Gif:
        return loadGif(image, path);
    case ImageFormat::Bmp:
        return loadBmp(image, path);
    case ImageFormat::Mag:
        return loadMag(image, path);
    case ImageFormat::Png:
        return loadPng(image, path, metadata);
    case ImageFormat::Tiff:
        return loadTiff(image, path, metadata);
    case ImageFormat::Webp:
        return loadWebp(image, path, metadata);
    case ImageFormat::Avif:
        return loadAvif(image, path, metadata);
    case ImageFormat::Heif:
        return loadHeif(image, path, metadata);
    case ImageFormat::Jxl:
        return loadJxl(image, path, metadata);
    case ImageFormat::None:
        break;
    }
    return {LoadCause::Unsupported};
}

// The reader that decodes a format reduced for a thumbnail box; null where there is none.
using ReducedReader = LoadResult (*)(image::DibImage&, std::u16string_view, int, int);

ReducedReader reducedReaderOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Jpeg:
        return loadJpegScaled;
    case ImageFormat::Webp:
        return loadWebpScaled;
    default:
        return nullptr;
    }
}

// Blacks out the pixels the new picture replaces, a band of rows at a time: on pages not touched
// yet the fill faults in the whole buffer, tens of milliseconds for a big one, and a stop asked
// for meanwhile is seen between bands. False when stopped.
bool blackOutUnlessStopped(image::DibImage& image, const std::stop_token& stop) {
    constexpr int32_t kBandRows = 64;
    if (!image.hasPixels()) {
        return true;
    }
    for (int32_t y = 0; y < image.height(); y += kBandRows) {
        if (stop.stop_requested()) {
            return false;
        }
        const int32_t rows = std::min(kBandRows, image.height() - y);
        std::memset(image.row(y), 0, static_cast<size_t>(image.stride()) * rows);
    }
    return true;
}

} // namespace

void setThumbnailStore(ThumbnailStore* store) {
    thumbnailStore.store(store);
}

LoadResult loadImage(image::LoadedImage& image, std::u16string_view path,
                     const std::stop_token& stop) {
    image.path = path;
    image.metadata = {};
    image.turnsSinceLoad.reset();
    if (!blackOutUnlessStopped(image, stop)) {
        return {LoadCause::Stopped};
    }
    return readFullSize(image, formatFromExtension(path), path, &image.metadata, stop);
}

LoadResult loadImageFitted(image::DibImage& target, std::u16string_view path, int boxWidth,
                           int boxHeight, bool showAlpha) {
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
    const ReducedReader reduced = reducedReaderOf(format);
    const LoadResult read = reduced != nullptr ? reduced(picture, path, boxWidth, boxHeight)
                                               : readFullSize(picture, format, path);
    if (read && showAlpha && picture.hasAlpha()) {
        // Drawn as the view draws it; not stored, as it depends on the setting.
        const image::PixelRect placed =
            image::fitPlacement(boxWidth, boxHeight, picture.width(), picture.height());
        image::composeOverChecker(target, picture,
                                  {placed.width, placed.height, placed.x, placed.y}, false);
    } else if (read) {
        target.fitFrom(picture);
        if (store != nullptr && !picture.hasAlpha()) {
            store->writeThumbnail(target, path);
        }
    }
    return read;
}

SaveResult saveByTypeIndex(const image::DibImage& image, std::u16string_view path, int typeIndex,
                           int quality, const image::PictureMetadata* metadata, bool keepAlpha) {
    switch (typeIndex) {
    case 0:
        return saveJpeg(image, path, quality, platform::Durability::Synced, metadata);
    case 1:
        return saveBmp(image, path);
    case 2:
        return savePng(image, path, metadata, keepAlpha);
    case 3:
        return saveTiff(image, path);
    default:
        return {SaveCause::UnknownType};
    }
}

} // namespace velmora::codecs

namespace velmora::codecs {

SaveResult saveLoadedPicture(const image::LoadedImage& picture, std::u16string_view path,
                             int typeIndex, int quality, SaveExtras extras) {
    const image::PictureMetadata& metadata = picture.metadata;
    if (typeIndex == 0 && extras.losslessTurns && picture.turnsSinceLoad && metadata.jpegSource &&
        picture.hasPixels()) {
        // The file's data keeps its colours only with its profile, kept or not the rest.
        const std::vector<JpegMarker> markers =
            jpegMarkersFor(extras.keepMetadata ? metadata : image::PictureMetadata{}, metadata.icc,
                           picture.width(), picture.height());
        const image::Turn turn = metadata.readerTurn.then(*picture.turnsSinceLoad);
        if (saveJpegTurned(picture.path, *metadata.jpegSource, turn, markers, path)) {
            return {SaveCause::Saved};
        }
    }
    const image::PictureMetadata* kept = extras.keepMetadata ? &metadata : nullptr;
    if (extras.keepAlpha && picture.hasAlpha() && typeIndex != kPngTypeIndex) {
        // A type without alpha gets the picture as it looks on white.
        image::DibImage flat;
        if (!image::flattenOverWhite(picture, flat)) {
            return {SaveCause::WriteFailed};
        }
        return saveByTypeIndex(flat, path, typeIndex, quality, kept);
    }
    return saveByTypeIndex(picture, path, typeIndex, quality, kept, extras.keepAlpha);
}

} // namespace velmora::codecs
