// The orientation an AVIF picture is stored in.
#pragma once

#include <avif/avif.h>

namespace velmora::codecs::avif {

// The EXIF orientation (1..8) the irot and imir properties describe, or, when the picture has
// neither, its EXIF payload's.
int storedOrientation(const avifImage& picture);

} // namespace velmora::codecs::avif
