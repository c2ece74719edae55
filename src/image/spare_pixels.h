// Pixel buffers of released pictures, kept for the next picture of about their size. A fresh
// buffer's pages are zeroed by the kernel at their first touch, which for a large photo costs
// tens of milliseconds in front of the next picture; a kept one is already mapped. What is kept
// is capped, and given back when the program is minimised or left idle.
#pragma once

#include "image/dib_image.h"

#include <cstddef>

namespace velmora::image {

// At most this much is kept, or two of the largest buffer offered when that is more.
inline constexpr size_t kSparePixelCap = size_t{256} << 20;

// Takes image's pixels into the store when they are large enough to be worth keeping (freed
// otherwise), oldest kept buffers giving way beyond the cap; image is left without pixels.
void keepSparePixels(DibImage& image);
// Gives image a kept buffer of at least bytes and at most half as large again, when there is
// one; the image's size fields are then stale until create sets them. False: nothing kept fits.
[[nodiscard]] bool takeSparePixels(DibImage& image, size_t bytes);
// Frees everything kept.
void dropSparePixels();
// Bytes held by the store.
size_t sparePixelBytes();

} // namespace velmora::image
