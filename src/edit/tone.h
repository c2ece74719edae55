// Tone edits: every pixel on its own, in place, bit for bit the arithmetic written beside each.
// Only the pixels of each row change, never the row padding. A picture without pixels is left
// alone.
#pragma once

#include "image/dib_image.h"

namespace velmora::edit {

// Every byte v becomes v + (value - 100), limited to 0..255. value is the slider's 1..254.
void brightness(image::DibImage& image, int value);
// Every byte v becomes (v - 127.5) * (value * 0.01) + 127.5 in double precision, limited to
// 0..255 and truncated toward zero. value is the slider's 1..199; 100 changes nothing.
void contrast(image::DibImage& image, int value);
// A pixel whose mean (B + G + R) / 3 (integer division) is above threshold becomes white, every
// other black.
void threshold(image::DibImage& image, int threshold);
// All three bytes become G * 0.587 + R * 0.299 + B * 0.114, summed in that order in double
// precision and truncated toward zero.
void grey(image::DibImage& image);
// Every byte v becomes 255 - v.
void negative(image::DibImage& image);

} // namespace velmora::edit
