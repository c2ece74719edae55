// The marker segments that carry a picture's metadata in a JPEG file: EXIF and XMP in APP1, the
// colour profile in APP2 (split into ICC_PROFILE chunks) and each comment in COM.
#pragma once

#include "image/picture_metadata.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velmora::codecs {

struct JpegMarker {
    int code = 0; // 0xE1, 0xE2 or 0xFE
    std::vector<uint8_t> payload;
};

// The markers for a saved picture of width x height: the EXIF block as exifForSavedPicture
// makes it, the XMP packet and the comments as they were, and profile (the one the saved
// pixels are in; empty for none). Blocks that would not fit a marker are left out.
std::vector<JpegMarker> jpegMarkersFor(const image::PictureMetadata& metadata,
                                       std::span<const uint8_t> profile, int width, int height);

// The colour profile of a picture's pixels as decoded: the file's own, or the output profile
// when the reader converted them to it.
std::vector<uint8_t> profileOfPixels(const image::PictureMetadata& metadata);

} // namespace velmora::codecs
