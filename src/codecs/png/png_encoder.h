// PNG encoding of a DibImage: 8-bit RGB (RGBA with the alpha plane when asked and present), not
// interlaced, default compression and filtering.
#pragma once

#include "codecs/safe_file_writer.h"
#include "image/dib_image.h"
#include "image/picture_metadata.h"

namespace velmora::codecs {

// Writes the whole PNG file through the writer; false on a library or write failure. With
// metadata, the text chunks and the colour profile of the pixels go with them. keepAlpha writes
// the image's alpha plane, when it has one, as the file's alpha channel.
bool encodePng(const image::DibImage& image, SafeFileWriter& writer,
               const image::PictureMetadata* metadata = nullptr, bool keepAlpha = false);

} // namespace velmora::codecs
