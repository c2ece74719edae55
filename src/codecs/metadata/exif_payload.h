// The EXIF block as containers other than JPEG store it, brought to the bare TIFF structure that
// a picture's metadata record keeps.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmora::codecs {

// The block without the "Exif\0\0" that some writers put in front of the TIFF structure.
std::vector<uint8_t> bareExif(std::span<const uint8_t> block);

// An ISO box's EXIF payload (HEIF item, JPEG XL box): a 4-byte big-endian offset from the end of
// those bytes to the TIFF structure, then the data. Empty when the offset points past the end.
std::vector<uint8_t> exifAfterHeaderOffset(std::span<const uint8_t> payload);

} // namespace velmora::codecs
