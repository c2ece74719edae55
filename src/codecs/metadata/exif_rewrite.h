// The EXIF block a saved picture carries: the source's, read and written again by libexif with
// the orientation set to upright, the pixel dimensions set to the saved size and the embedded
// thumbnail (which would show the old picture) left out.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmora::codecs {

// tiff: the bare TIFF structure of the source's EXIF. The result is the APP1 payload, starting
// "Exif\0\0"; empty when the block cannot be read or would not fit one marker.
std::vector<uint8_t> exifForSavedPicture(std::span<const uint8_t> tiff, int width, int height);

} // namespace velmora::codecs
