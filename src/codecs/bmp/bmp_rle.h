// Run-length encoded bitmap data (RLE8 and RLE4) expanded into one palette index per pixel.
#pragma once

#include <cstdint>
#include <span>

namespace velmora::codecs::bmp {

enum class RleDepth { Four, Eight };

// Expands data into canvas: width * height bytes, rows in stored order (the bottom row first),
// left as they are where the data writes nothing (pixels skipped by a delta, the rest of a row
// ended early, the rows after an early end of bitmap); the reader presets them to index 0.
// Pixels beyond a row's end and rows beyond the last are dropped. Returns true when the data
// ends the bitmap (end-of-bitmap code, or every row reached), false when it runs out first.
// Every code consumes input, so any data ends in time proportional to its length.
bool expandRle(std::span<const uint8_t> data, RleDepth depth, int32_t width, int32_t height,
               uint8_t* canvas);

} // namespace velmora::codecs::bmp
