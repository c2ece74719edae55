// The stored orientation of a picture (the EXIF and TIFF Orientation values 1..8: 1 upright,
// 2 mirrored, 3 upside down, 4 mirrored upside down, 5 to 8 the same four on their side) and the
// turn that makes its pixels upright.
#pragma once

#include "image/dib_image.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora::codecs {

inline constexpr int kUpright = 1;

// The Orientation value of an EXIF block: the APP1 form starting "Exif\0\0", or the bare TIFF
// structure of a PNG eXIf chunk. kUpright when the block is malformed or has no valid value.
int exifOrientation(std::span<const uint8_t> exif);

// Turns the image's pixels upright for a stored orientation (nothing for 1 or an unknown value).
// False when the memory for a turned copy cannot be had: the picture stays as stored.
bool turnUpright(image::DibImage& image, int orientation);

} // namespace velmora::codecs
