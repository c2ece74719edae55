// Turns one stored bitmap row into blue-green-red pixels.
#pragma once

#include <array>
#include <cstdint>

namespace velmora::codecs::bmp {

// Colour table entries as stored: blue, green, red, reserved.
using Palette = std::array<std::array<uint8_t, 4>, 256>;

// Converts the first width pixels of src (a row of palette indices of 1, 4 or 8 bits, of 16-bit
// 5-5-5 pixels with bit 15 ignored, or of 24- or 32-bit blue-green-red pixels) into dst, 3 bytes
// a pixel. dst must hold 3 * width bytes. Rows with colour masks go through MaskedRowConverter;
// the fixed 5-5-5 layout keeps its own loop, which compiles to about a fifth fewer instructions.
void convertRow(int bitsPerPixel, const uint8_t* src, uint8_t* dst, int32_t width,
                const Palette& palette);

} // namespace velmora::codecs::bmp
