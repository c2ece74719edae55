// TIFF decoding into a DibImage through the library's RGBA interface, so every kind of TIFF
// the library can turn into RGBA is read. Alpha is dropped, not composited. Given a metadata
// record, the ICC profile and XMP packet are kept in it; the EXIF directory is not (the library
// reads it as separate fields, not as a block that could be written again).
#pragma once

#include "image/dib_image.h"
#include "image/picture_metadata.h"

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
    NotUpright,   // decoded, but no memory for the upright copy: the picture stays as stored
};

struct TiffDecodeOptions {
    // Width and length must each lie in 1 .. maxSide.
    int32_t maxSide = 10000;
    // The RGBA raster is read in bands of whole strips (or rows of tiles) that fit in this many
    // bytes, the whole picture at once when it fits; always at least one strip, also when the
    // larger band cannot be allocated. A band that stays in the cache reads about twice as fast
    // as a fresh whole-picture raster.
    uint64_t maxRasterBytes = uint64_t{1} << 20;
};

TiffDecodeResult decodeTiff(TIFF* tiff, image::DibImage& image,
                            const TiffDecodeOptions& options = {},
                            image::PictureMetadata* metadata = nullptr);
TiffDecodeResult decodeTiffMemory(std::span<const uint8_t> bytes, image::DibImage& image,
                                  const TiffDecodeOptions& options = {},
                                  image::PictureMetadata* metadata = nullptr);

} // namespace velmora::codecs
