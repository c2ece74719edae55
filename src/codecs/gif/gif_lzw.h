// The LZW decoder of GIF image data.
#pragma once

#include "codecs/gif/gif_pixel_writer.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::gif {

// Decodes the data sub-blocks that start at subBlocks (the first length byte) with the given
// minimum code size (0 to 8) into writer. Decoding stops at the end code, when the image is full,
// when the data runs out, and at a code that is not yet defined (a broken stream); what was
// written up to then stays. False only when memory runs out.
bool decodeImageData(std::span<const uint8_t> subBlocks, int codeSize, PixelWriter& writer);

} // namespace velmora::codecs::gif
