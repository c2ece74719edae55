// The JPEG reader: full size, or reduced inside the library for thumbnails. loadJpeg and
// loadJpegScaled (readers.h) read device files; the memory forms serve in-memory data. Library
// errors are Undecodable.
#pragma once

#include "codecs/load_result.h"
#include "image/dib_image.h"
#include "image/view_state.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmora::codecs::jpeg {

// The size of path's picture as loading it gives it (on its side when it is stored turned and the
// corrections turn it upright), from its header alone; nullopt when the header cannot be read.
std::optional<image::ViewSize> jpegPictureSize(std::u16string_view path);
// Loads path decoded at 1/denominator of its size (2, 4 or 8), each side rounded up.
LoadResult loadJpegReduced(image::DibImage& image, std::u16string_view path, int denominator);

LoadResult decodeJpegFromMemory(image::DibImage& image, const uint8_t* data, size_t size);
LoadResult decodeJpegScaledFromMemory(image::DibImage& image, const uint8_t* data, size_t size,
                                      int boxWidth, int boxHeight);

} // namespace velmora::codecs::jpeg
