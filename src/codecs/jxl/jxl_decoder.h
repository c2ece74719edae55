// JPEG XL decoding through libjxl: the first frame as 8-bit blue, green, red, rounded by the
// library from any bit depth; alpha is dropped and the colours kept as stored. Recompressed JPEGs
// are decoded to pixels. The picture's own orientation is applied with the picture corrections'
// upright switch; with their colour switch, pixels that are not sRGB are converted from the
// profile the library gives for them. Given a metadata record, the container's EXIF and XMP
// boxes and the pixels' profile are kept in it.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::jxl {

// Pictures above maxPixels are refused before decoding (the image's own size limits apply in
// any case); fuzzing lowers it to keep runs quick.
struct JxlDecodeLimits {
    int64_t maxPixels = image::kMaxImagePixels;
};

// Faulty for bytes without a JPEG XL signature and for a header the library refuses or that is
// cut short; Undecodable when the picture after a good header fails to decode or ends early.
LoadResult decodeJxl(std::span<const uint8_t> bytes, image::DibImage& image,
                     const JxlDecodeLimits& limits = {},
                     image::PictureMetadata* metadata = nullptr);

} // namespace velmora::codecs::jxl
