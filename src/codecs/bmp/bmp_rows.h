// Turns one stored bitmap row into blue-green-red pixels.
#pragma once

#include <array>
#include <cstdint>

namespace velmora::codecs::bmp {

// Colour table entries as stored: blue, green, red, reserved.
using Palette = std::array<std::array<uint8_t, 4>, 256>;

// Colour table bytes stored for a depth: 2, 16 or 256 entries of 4 bytes for 1, 4 and 8 bits,
// none for the direct-colour depths 16, 24 and 32; -1 for a depth the reader does not take.
int paletteBytesFor(int bitsPerPixel);

// Converts the first width pixels of src (a row of the given depth) into dst, 3 bytes a pixel.
// 16-bit pixels are 5-5-5 with bit 15 ignored. dst must hold 3 * width bytes.
void convertRow(int bitsPerPixel, const uint8_t* src, uint8_t* dst, int32_t width,
                const Palette& palette);

} // namespace velmora::codecs::bmp
