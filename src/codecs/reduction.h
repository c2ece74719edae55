// How much a reader that can decode reduced takes a picture down for a thumbnail box.
#pragma once

#include <cstdint>

namespace velmora::codecs {

// 8, 4 or 2 when the picture is at least that many times the box in both directions, else 1.
int reductionFor(uint32_t pictureWidth, uint32_t pictureHeight, int boxWidth, int boxHeight);

} // namespace velmora::codecs
