#include "codecs/webp/webp_reader.h"

#include "codecs/alpha_rows.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/stored_corrections.h"
#include "codecs/file_bytes.h"
#include "codecs/metadata/exif_payload.h"
#include "codecs/packed_bitmap.h"
#include "codecs/readers.h"
#include "codecs/reduction.h"

#include <webp/decode.h>
#include <webp/demux.h>

#include <memory>

namespace velmora::codecs::webp {
namespace {

struct Box {
    int width;
    int height;
};

struct DemuxDeleter {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct AnimationDeleter {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

LoadResult failureOf(VP8StatusCode status) {
    return {status == VP8_STATUS_OUT_OF_MEMORY ? LoadCause::DecoderOutOfMemory
                                               : LoadCause::Undecodable};
}

// A still picture with alpha: decoded as blue, green, red and alpha by the library's own buffer,
// then split into the image's rows and plane (the image is already made at the output size).
LoadResult decodeStillWithAlpha(image::DibImage& image, std::span<const uint8_t> bytes,
                                WebPDecoderConfig& config) {
    if (!image.createAlpha()) {
        return {LoadCause::OutOfMemory};
    }
    config.output.colorspace = MODE_BGRA;
    const VP8StatusCode status = WebPDecode(bytes.data(), bytes.size(), &config);
    if (status == VP8_STATUS_OK) {
        copyBgraRows(config.output.u.RGBA.rgba, static_cast<size_t>(config.output.u.RGBA.stride),
                     image);
        image.dropAlphaIfOpaque();
    }
    WebPFreeDecBuffer(&config.output);
    return status == VP8_STATUS_OK ? LoadResult{LoadCause::Loaded} : failureOf(status);
}

// The still picture straight into the image's rows, reduced when a box is given.
LoadResult decodeStill(image::DibImage& image, std::span<const uint8_t> bytes,
                       const WebPBitstreamFeatures& features, const Box* box) {
    WebPDecoderConfig config;
    if (WebPInitDecoderConfig(&config) == 0) {
        return {LoadCause::Undecodable};
    }
    int width = features.width;
    int height = features.height;
    const int reduction = box != nullptr
                              ? reductionFor(static_cast<uint32_t>(width),
                                             static_cast<uint32_t>(height), box->width, box->height)
                              : 1;
    if (reduction > 1) {
        width = (width + reduction - 1) / reduction;
        height = (height + reduction - 1) / reduction;
        config.options.use_scaling = 1;
        config.options.scaled_width = width;
        config.options.scaled_height = height;
    }
    if (!image.create(width, height)) {
        return {LoadCause::OutOfMemory};
    }
    if (features.has_alpha != 0) {
        return decodeStillWithAlpha(image, bytes, config);
    }
    config.output.colorspace = MODE_BGR;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = image.stride();
    config.output.u.RGBA.size = static_cast<size_t>(image.stride()) * static_cast<size_t>(height);
    const VP8StatusCode status = WebPDecode(bytes.data(), bytes.size(), &config);
    WebPFreeDecBuffer(&config.output);
    return status == VP8_STATUS_OK ? LoadResult{LoadCause::Loaded} : failureOf(status);
}

// The first frame of an animation, composed on its canvas by the library.
LoadResult decodeFirstFrame(image::DibImage& image, std::span<const uint8_t> bytes) {
    WebPAnimDecoderOptions options;
    if (WebPAnimDecoderOptionsInit(&options) == 0) {
        return {LoadCause::Undecodable};
    }
    options.color_mode = MODE_BGRA;
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPAnimDecoder, AnimationDeleter> decoder(
        WebPAnimDecoderNew(&data, &options));
    WebPAnimInfo info;
    if (!decoder || WebPAnimDecoderGetInfo(decoder.get(), &info) == 0) {
        return {LoadCause::Undecodable};
    }
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) == 0) {
        return {LoadCause::Undecodable};
    }
    const auto width = static_cast<int32_t>(info.canvas_width);
    const auto height = static_cast<int32_t>(info.canvas_height);
    if (!image.create(width, height) || !image.createAlpha()) {
        return {LoadCause::OutOfMemory};
    }
    copyBgraRows(canvas, size_t{4} * static_cast<size_t>(width), image);
    image.dropAlphaIfOpaque();
    return {LoadCause::Loaded};
}

std::span<const uint8_t> chunkOf(WebPDemuxer* demux, const char* fourCc) {
    WebPChunkIterator chunk;
    if (demux == nullptr || WebPDemuxGetChunk(demux, fourCc, 1, &chunk) == 0) {
        return {};
    }
    const std::span<const uint8_t> found(chunk.chunk.bytes, chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    return found; // points into bytes, not into the iterator
}

LoadResult correct(image::DibImage& image, std::span<const uint8_t> bytes,
                   image::PictureMetadata* metadata) {
    const WebPData data{bytes.data(), bytes.size()};
    const std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&data));
    const std::span<const uint8_t> exif = chunkOf(demux.get(), "EXIF");
    const int orientation = exif.empty() ? kUpright : exifOrientation(exif);
    if (metadata != nullptr) {
        metadata->exif = bareExif(exif);
        const std::span<const uint8_t> xmp = chunkOf(demux.get(), "XMP ");
        metadata->xmp.assign(xmp.begin(), xmp.end());
    }
    return {applyStoredCorrections(image, chunkOf(demux.get(), "ICCP"), orientation, metadata)
                ? LoadCause::Loaded
                : LoadCause::LoadedNotUpright};
}

LoadResult decode(image::DibImage& image, std::span<const uint8_t> bytes, const Box* box,
                  const WebpLimits& limits, image::PictureMetadata* metadata = nullptr) {
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(bytes.data(), bytes.size(), &features) != VP8_STATUS_OK) {
        return {LoadCause::Faulty};
    }
    if (exceedsImageLimits(features.width, features.height) ||
        int64_t{features.width} * features.height > limits.maxPixels) {
        return {LoadCause::TooLarge};
    }
    const LoadResult decoded = features.has_animation != 0
                                   ? decodeFirstFrame(image, bytes)
                                   : decodeStill(image, bytes, features, box);
    return decoded ? correct(image, bytes, metadata) : decoded;
}

} // namespace

LoadResult decodeWebp(image::DibImage& image, std::span<const uint8_t> bytes,
                      const WebpLimits& limits, image::PictureMetadata* metadata) {
    return decode(image, bytes, nullptr, limits, metadata);
}

LoadResult decodeWebpScaled(image::DibImage& image, std::span<const uint8_t> bytes, int boxWidth,
                            int boxHeight, const WebpLimits& limits) {
    const Box box{boxWidth, boxHeight};
    return decode(image, bytes, &box, limits);
}

} // namespace velmora::codecs::webp

namespace velmora::codecs {

LoadResult loadWebp(image::DibImage& image, std::u16string_view path,
                    image::PictureMetadata* metadata) {
    return decodePictureFile(path, [&](std::span<const uint8_t> bytes) {
        return webp::decodeWebp(image, bytes, {}, metadata);
    });
}

LoadResult loadWebpScaled(image::DibImage& image, std::u16string_view path, int boxWidth,
                          int boxHeight) {
    return decodePictureFile(path, [&](std::span<const uint8_t> bytes) {
        return webp::decodeWebpScaled(image, bytes, boxWidth, boxHeight);
    });
}

} // namespace velmora::codecs
