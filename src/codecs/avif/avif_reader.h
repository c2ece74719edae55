// The AVIF reader: the primary picture (the first frame of a sequence) at 8, 10 or 12 bits,
// turned into 8-bit blue, green, red by the library's own conversion (which rounds the deeper
// samples). Alpha is dropped: a transparent pixel shows the colour stored for it. Orientation
// comes from the irot and imir properties, or, when the file has neither, from the EXIF
// payload; the ICC profile is applied as the corrections ask. Given a metadata record, the EXIF,
// XMP and ICC payloads are kept in it. loadAvif (readers.h) reads a
// device file; this form decodes bytes held in memory.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::avif {

// Pictures above maxPixels are refused before the library decodes them (the image's own size
// limits apply in any case); fuzzing lowers it to keep runs quick.
struct AvifLimits {
    int64_t maxPixels = image::kMaxImagePixels;
};

LoadResult decodeAvif(image::DibImage& image, std::span<const uint8_t> bytes,
                      const AvifLimits& limits = {}, image::PictureMetadata* metadata = nullptr);

} // namespace velmora::codecs::avif
