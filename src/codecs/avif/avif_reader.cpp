#include "codecs/avif/avif_reader.h"

#include "codecs/alpha_rows.h"
#include "codecs/avif/avif_colours.h"
#include "codecs/avif/avif_orientation.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/file_bytes.h"
#include "codecs/metadata/exif_payload.h"
#include "codecs/packed_bitmap.h"
#include "codecs/readers.h"

#include <avif/avif.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace velmora::codecs::avif {
namespace {

struct DecoderDeleter {
    void operator()(avifDecoder* decoder) const { avifDecoderDestroy(decoder); }
};

// A refusal before any picture data was decoded is a faulty file; one while decoding is not
// named further, as the other libraries' errors are not.
LoadResult failureOf(avifResult result, LoadCause otherwise) {
    return {result == AVIF_RESULT_OUT_OF_MEMORY ? LoadCause::DecoderOutOfMemory : otherwise};
}

bool tooLarge(uint32_t width, uint32_t height, const AvifLimits& limits) {
    return exceedsImageLimits(width, height) || int64_t{width} * height > limits.maxPixels;
}

// Colours (not premultiplied) and alpha through a 4-byte buffer into the image's rows and plane.
avifResult convertWithAlpha(const avifImage& picture, image::DibImage& image) {
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, &picture);
    rgb.depth = 8;
    rgb.format = AVIF_RGB_FORMAT_BGRA;
    rgb.alphaPremultiplied = AVIF_FALSE;
    rgb.rowBytes = 4 * picture.width;
    std::vector<uint8_t> pixels;
    try {
        pixels.resize(size_t{rgb.rowBytes} * picture.height);
    } catch (const std::bad_alloc&) {
        return AVIF_RESULT_OUT_OF_MEMORY;
    }
    rgb.pixels = pixels.data();
    const avifResult result = avifImageYUVToRGB(&picture, &rgb);
    if (result == AVIF_RESULT_OK) {
        copyBgraRows(pixels.data(), rgb.rowBytes, image);
        image.dropAlphaIfOpaque();
    }
    return result;
}

} // namespace

LoadResult decodeAvif(image::DibImage& image, std::span<const uint8_t> bytes,
                      const AvifLimits& limits, image::PictureMetadata* metadata) {
    const std::unique_ptr<avifDecoder, DecoderDeleter> decoder(avifDecoderCreate());
    if (!decoder) {
        return {LoadCause::DecoderOutOfMemory};
    }
    const bool keep = metadata != nullptr;
    decoder->ignoreXMP = keep ? AVIF_FALSE : AVIF_TRUE;
    decoder->ignoreExif = pictureCorrections().upright || keep ? AVIF_FALSE : AVIF_TRUE;
    avifResult result = avifDecoderSetIOMemory(decoder.get(), bytes.data(), bytes.size());
    if (result == AVIF_RESULT_OK) {
        result = avifDecoderParse(decoder.get());
    }
    if (result != AVIF_RESULT_OK) {
        return failureOf(result, LoadCause::Faulty);
    }
    // The stored size is checked here, under the library's own wider limits, so that a picture
    // too large for the image is told apart from a faulty file; then the codec is held to the
    // image limits, so that a frame larger than the stored size is refused before it allocates.
    if (tooLarge(decoder->image->width, decoder->image->height, limits)) {
        return {LoadCause::TooLarge};
    }
    decoder->imageSizeLimit = static_cast<uint32_t>(
        std::min<int64_t>({limits.maxPixels, image::kMaxImagePixels, INT32_MAX}));
    result = avifDecoderNextImage(decoder.get());
    if (result != AVIF_RESULT_OK) {
        return failureOf(result, LoadCause::Undecodable);
    }
    const avifImage& picture = *decoder->image;
    if (tooLarge(picture.width, picture.height, limits)) {
        return {LoadCause::TooLarge};
    }
    if (!image.create(static_cast<int32_t>(picture.width), static_cast<int32_t>(picture.height)) ||
        (picture.alphaPlane != nullptr && !image.createAlpha())) {
        return {LoadCause::OutOfMemory};
    }
    result = picture.alphaPlane != nullptr ? convertWithAlpha(picture, image)
                                           : convertOpaque(picture, image);
    if (result != AVIF_RESULT_OK) {
        return failureOf(result, LoadCause::Undecodable);
    }
    if (keep) {
        metadata->exif = bareExif({picture.exif.data, picture.exif.size});
        metadata->xmp.assign(picture.xmp.data, picture.xmp.data + picture.xmp.size);
    }
    return {applyStoredCorrections(image, {picture.icc.data, picture.icc.size},
                                   storedOrientation(picture), metadata)
                ? LoadCause::Loaded
                : LoadCause::LoadedNotUpright};
}

} // namespace velmora::codecs::avif

namespace velmora::codecs {

LoadResult loadAvif(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    return decodePictureFile(path, [&](std::span<const uint8_t> bytes) {
        return avif::decodeAvif(image, bytes, {}, metadata);
    });
}

} // namespace velmora::codecs
