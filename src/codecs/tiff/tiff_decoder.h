// TIFF decoding into a DibImage through the library's RGBA interface, so every kind of TIFF
// the library can turn into RGBA is read. Alpha is dropped, not composited.
#pragma once

#include "image/dib_image.h"

#include <cstdint>
#include <span>

typedef struct tiff TIFF;

namespace velmora::codecs {

enum class TiffDecodeResult {
    Ok,
    NotTiff,      // the library could not open it
    BadSize,      // width or length is 0 or above the limit
    Unsupported,  // a kind of TIFF the RGBA interface cannot deliver
    Corrupt,      // the library could not read the pixels at all
    CreateFailed, // the image could not be made at the picture's size
    NoMemory,     // not even one strip's raster could be allocated
};

struct TiffDecodeOptions {
    // Width and length must each lie in 1 .. maxSide.
    int32_t maxSide = 10000;
    // The whole RGBA raster is read at once when it fits in this many bytes and can be
    // allocated; otherwise the picture is read one strip (or one row of tiles) at a time.
    uint64_t maxRasterBytes = UINT64_MAX;
};

TiffDecodeResult decodeTiff(TIFF* tiff, image::DibImage& image,
                            const TiffDecodeOptions& options = {});
TiffDecodeResult decodeTiffMemory(std::span<const uint8_t> bytes, image::DibImage& image,
                                  const TiffDecodeOptions& options = {});

} // namespace velmora::codecs
