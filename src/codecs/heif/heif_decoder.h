// HEIF and HEIC decoding through libheif: the file's primary image as 8-bit blue, green, red.
// Higher bit depths are rounded to 8 bits; alpha is dropped and the colours kept as stored. The
// file's own turns and mirroring (irot, imir) are applied with the picture corrections' upright
// switch, its embedded ICC profile with their colour switch. Given a metadata record, the EXIF
// and XMP blocks and the ICC profile are kept in it.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::heif {

// Pictures above maxPixels are refused before decoding (the image's own size limits apply in
// any case); fuzzing lowers it to keep runs quick.
struct HeifDecodeLimits {
    int64_t maxPixels = image::kMaxImagePixels;
};

// Faulty for a file libheif does not take for HEIF or whose structure it refuses; Undecodable
// when the picture's coded data fails to decode or uses a coding libheif has no decoder for.
LoadResult decodeHeif(std::span<const uint8_t> bytes, image::DibImage& image,
                      const HeifDecodeLimits& limits = {},
                      image::PictureMetadata* metadata = nullptr);

} // namespace velmora::codecs::heif
