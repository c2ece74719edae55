// The floating-point bilinear resampler of the resize edit: slow, exact to its own arithmetic,
// reporting progress as it goes.
#pragma once

#include "image/dib_image.h"

#include <cstdint>
#include <functional>

namespace velmora::image {

// Called with a percentage: pass * 33 + row * 33 / height every 32 rows of each of the three
// passes (blue, green, red), then 100.
using ResampleProgress = std::function<void(int percent)>;

// Resamples the whole source into the whole destination, whose size the caller has set with
// create. When both have an alpha plane, the alpha is resampled the same way after the colours.
// Does nothing (and reports nothing) when either image has no pixels.
void resampleFrom(DibImage& destination, const DibImage& source,
                  const ResampleProgress& progress = {});

// One bilinear value: p00 + (p01 - p00) fy + ((p10 - p00) + (p11 + p00 - p01 - p10) fy) fx,
// truncated toward zero and limited to 0 .. 255.
uint8_t bilinearSample(uint8_t p00, uint8_t p10, uint8_t p01, uint8_t p11, double fx, double fy);

} // namespace velmora::image
