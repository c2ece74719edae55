// Turns one stored bitmap row into blue-green-red pixels.
#pragma once

#include <array>
#include <cstdint>

namespace velmora::codecs::bmp {

// Colour table entries as stored: blue, green, red, reserved.
using Palette = std::array<std::array<uint8_t, 4>, 256>;

// Converts the first width pixels of src (a row of palette indices of 1, 4 or 8 bits, or of
// 24- or 32-bit blue-green-red pixels) into dst, 3 bytes a pixel. dst must hold 3 * width bytes.
// Masked 16- and 32-bit rows go through MaskedRowConverter instead.
void convertRow(int bitsPerPixel, const uint8_t* src, uint8_t* dst, int32_t width,
                const Palette& palette);

} // namespace velmora::codecs::bmp
