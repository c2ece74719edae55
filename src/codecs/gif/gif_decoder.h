// The program's own GIF decoder. It shows the first image of a file (87a or 89a) on a canvas of
// the logical screen size filled with the background colour index; the pixels of the first
// image's transparent index become transparent in the alpha plane and keep their palette colour.
// Both passes work on one in-memory copy of the file and keep their state in locals, so different
// files can be decoded on several threads at once.
#pragma once

#include "codecs/gif/gif_blocks.h"
#include "codecs/load_result.h"
#include "codecs/packed_bitmap.h"
#include "image/dib_image.h"

#include <cstdint>
#include <span>

namespace velmora::codecs::gif {

struct ScanResult {
    LoadStatus status = LoadStatus::NotGif;
    int screenWidth = 0;
    int screenHeight = 0;
};

// Checks the block structure of the whole file up to its trailer and reads the screen size.
ScanResult gifScan(std::span<const uint8_t> file);

// Decodes image number imageNumber (from 1) into a packed bitmap of the screen size at 1, 4 or 8
// bits per pixel. A file whose trailer comes first gives Decoded and leaves canvas empty.
// transparentIndex, when given, gets the image's transparent colour index (-1 for none).
LoadStatus gifDecode(std::span<const uint8_t> file, PackedBitmap& canvas, int imageNumber,
                     int* transparentIndex = nullptr);

// Gives image (built from canvas) an alpha plane that is 0 wherever canvas holds
// transparentIndex and 255 elsewhere; nothing for -1 or an index the canvas never holds. False
// when the plane cannot be made.
[[nodiscard]] bool applyTransparentIndex(image::DibImage& image, const PackedBitmap& canvas,
                                         int transparentIndex);

// The whole reader on a file held in memory: scan, decode the first image, build the image.
// A file that is not a complete GIF is Undecodable; a GIF without a picture or with an empty
// screen Faulty, one too large for an image TooLarge.
LoadResult decodeGif(image::DibImage& image, std::span<const uint8_t> file);

} // namespace velmora::codecs::gif
