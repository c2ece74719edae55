// The MAG decoder (the MAKI02 format, 16 or 256 colours). The picture is rebuilt from three
// streams - flag A bits, flag B bytes and pixel data - into a packed bitmap of 4 or 8 bits per
// pixel. Every stream read and every copy source is checked against its buffer.
#pragma once

#include "codecs/load_result.h"
#include "codecs/packed_bitmap.h"
#include "image/dib_image.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::mag {

enum class MagResult : int {
    Decoded = 0,
    BadSignature = 1,
    NoCommentEnd = 2,  // no 0x1A after the comment
    HeaderCut = 3,     // the 32-byte header does not fit in the file
    PaletteCut = 4,    // the palette does not fit in the file
    BadGeometry = 5,   // bottom above top, or a flag line not 1 to 512 bytes long
    StreamOutside = 6, // a stream starts or runs beyond the end of the file
    CopyOutside = 7,   // a copy reaches outside the picture
    TooLarge = 8,      // more pixels than an image may hold
    NoMemory = 9,
};

struct MagSize {
    int width = 0;
    int height = 0;
};

// Decodes the file into bitmap (emptied unless the result is Decoded). size receives the
// picture size once the header has been read, also for TooLarge.
MagResult decodeMagBitmap(std::span<const uint8_t> file, PackedBitmap& bitmap, MagSize& size);

// The whole reader on a file held in memory: results 1 to 7 are Undecodable, a picture too
// large for an image TooLarge.
LoadResult decodeMag(image::DibImage& image, std::span<const uint8_t> file);

} // namespace velmora::codecs::mag
