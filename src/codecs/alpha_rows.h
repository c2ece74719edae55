// Pictures that a library decodes as blue, green, red and alpha bytes: the colours go into the
// image's rows and the alpha into its plane.
#pragma once

#include "image/dib_image.h"

#include <cstddef>
#include <cstdint>

namespace velmora::codecs {

// Copies the image's height rows of 4-byte pixels (rows stride bytes apart) into the image:
// colours always, alpha when the image has a plane.
void copyBgraRows(const uint8_t* bgra, size_t stride, image::DibImage& image);

} // namespace velmora::codecs
