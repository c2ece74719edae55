// PNG encoding of a DibImage: 8-bit RGB, not interlaced, default compression and filtering.
#pragma once

#include "codecs/safe_file_writer.h"
#include "image/dib_image.h"

namespace velmora::codecs {

// Writes the whole PNG file through the writer; false on a library or write failure.
bool encodePng(const image::DibImage& image, SafeFileWriter& writer);

} // namespace velmora::codecs
