// The JPEG reader: full size, or reduced inside the library for thumbnails. loadJpeg and
// loadJpegScaled (readers.h) read device files; the memory forms serve in-memory data. Library
// errors are Undecodable.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"

#include <cstddef>
#include <cstdint>

namespace velmora::codecs::jpeg {

LoadResult decodeJpegFromMemory(image::DibImage& image, const uint8_t* data, size_t size);
LoadResult decodeJpegScaledFromMemory(image::DibImage& image, const uint8_t* data, size_t size,
                                      int boxWidth, int boxHeight);

} // namespace velmora::codecs::jpeg
