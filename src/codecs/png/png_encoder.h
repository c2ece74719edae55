// PNG encoding of a DibImage: 8-bit RGB, not interlaced, default compression and filtering.
#pragma once

#include "codecs/safe_file_writer.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

namespace velmora::codecs {

// Writes the whole PNG file through the writer; false on a library or write failure. With
// metadata, the text chunks and the colour profile of the pixels go with them.
bool encodePng(const image::DibImage& image, SafeFileWriter& writer,
               const image::PictureMetadata* metadata = nullptr);

} // namespace velmora::codecs
