// TIFF encoding of a DibImage: one uncompressed 8-bit RGB image in strips.
#pragma once

#include "image/dib_image.h"

typedef struct tiff TIFF;

namespace velmora::codecs {

// Writes the directory and every row, then flushes; false on any library or write failure.
bool encodeTiff(const image::DibImage& image, TIFF* tiff);

} // namespace velmora::codecs
