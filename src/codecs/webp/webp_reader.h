// The WebP reader: still pictures (lossy, lossless, with or without alpha) through the
// library's decoder, animations by their first frame through its animation decoder. Alpha is
// dropped: a transparent pixel shows the colour stored for it. The EXIF chunk's orientation
// and the ICCP chunk's profile are applied as the corrections ask; given a metadata record, the
// EXIF, XMP and ICCP chunks are kept in it. loadWebp and
// loadWebpScaled (readers.h) read device files; these forms decode bytes held in memory.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::webp {

// Pictures above maxPixels are refused before anything is made for them (the image's own size
// limits apply in any case); fuzzing lowers it to keep runs quick.
struct WebpLimits {
    int64_t maxPixels = image::kMaxImagePixels;
};

LoadResult decodeWebp(image::DibImage& image, std::span<const uint8_t> bytes,
                      const WebpLimits& limits = {}, image::PictureMetadata* metadata = nullptr);
// Decodes still pictures reduced by the library's scaler, as far as reductionFor allows for
// the box; animations at full size.
LoadResult decodeWebpScaled(image::DibImage& image, std::span<const uint8_t> bytes, int boxWidth,
                            int boxHeight, const WebpLimits& limits = {});

} // namespace velmora::codecs::webp
