// The colours of a decoded AVIF picture into a 24-bit image, as stored.
#pragma once

#include "image/dib_image.h"

#include <avif/avif.h>

namespace velmora::codecs::avif {

// The colours straight into the image's rows, without the alpha plane: the library would
// otherwise multiply the colours by alpha for an output without alpha.
avifResult convertOpaque(const avifImage& picture, image::DibImage& image);

} // namespace velmora::codecs::avif
