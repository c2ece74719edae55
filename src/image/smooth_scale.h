// The smooth reduction used by the view: a fixed-point bilinear scaler with 16.16 steps and 8-bit
// weights. Its arithmetic is part of the look: weights 255 - f and f with the sum shifted right by
// 16, so a smoothed pixel comes out slightly darker than its sources (white becomes 253), and the
// outermost row and column of the source rectangle are drawn by nearest pixel.
#pragma once

#include "image/dib_image.h"

#include <cstdint>

namespace velmora::image {

// Raw pixels in the DibImage layout (24-bit, top-down, blue-green-red, padded rows).
struct ConstPixels {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

struct Pixels {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// Source advance per destination pixel in 16.16: trunc(sw / w * 65536.0), likewise down.
struct ScaleSteps {
    int64_t x = 0;
    int64_t y = 0;
};
ScaleSteps smoothScaleSteps(int32_t sw, int32_t sh, int32_t w, int32_t h);

// Scales source's rectangle from into destination's rectangle to. The destination rectangle may
// reach outside the destination: only pixels inside it are written. Nothing is drawn when a
// rectangle is empty or the source rectangle is not inside the source image.
void smoothScaleFrom(DibImage& destination, PixelRect to, const DibImage& source, PixelRect from);

// The row scaler on raw memory, with the steps given; same clipping and checks as above.
void bilinearScaleRows(const ConstPixels& source, PixelRect sourceRect, const Pixels& destination,
                       PixelRect destinationRect, int64_t xStep, int64_t yStep);

} // namespace velmora::image
