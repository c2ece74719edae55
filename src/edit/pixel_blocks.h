// Threshold, grey and the horizontal mirror on whole blocks of 16 pixels (48 bytes) with SSSE3
// byte shuffles, where the processor has them. Each returns how many pixels it did (a multiple
// of 16; 0 without SSSE3): the caller does the rest one pixel at a time with the same arithmetic.
#pragma once

#include <cstdint>

namespace velmora::edit {

// Every pixel whose B + G + R is above limit becomes white, every other black.
int32_t thresholdBlocks(uint8_t* row, int32_t width, int limit);
// Every pixel becomes G * 0.587 + R * 0.299 + B * 0.114 in double precision, truncated.
int32_t greyBlocks(uint8_t* row, int32_t width);
// Exchanges pixel j and pixel width - 1 - j for j from 0 up to the count returned.
int32_t mirrorBlocks(uint8_t* row, int32_t width);

} // namespace velmora::edit
