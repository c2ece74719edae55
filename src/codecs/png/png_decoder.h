// PNG decoding into a DibImage: every colour type and bit depth arrives as 8-bit blue-green-red
// rows. A file with transparency (an alpha channel or a transparency chunk) also fills the
// image's alpha plane; the colours stay as stored, never composited.
#pragma once

#include "image/dib_image.h"
#include "image/picture_metadata.h"

#include <cstdint>
#include <cstdio>
#include <span>

namespace velmora::codecs {

enum class PngDecodeResult {
    Ok,
    NotPng,       // the signature is missing
    Corrupt,      // the library stopped on a damaged or truncated stream
    Implausible,  // the header claims more pixels than the compressed bytes could hold
    TooLarge,     // over the caller's pixel limit
    CreateFailed, // the image could not be made at the picture's size
    NotUpright,   // decoded, but no memory for the upright copy: the picture stays as stored
};

// Pictures above maxPixels are refused before the image is made (the image's own size limits
// apply in any case); fuzzing lowers it to keep runs quick.
struct PngDecodeLimits {
    int64_t maxPixels = INT64_MAX;
};

// A file is taken for PNG by its first 4 bytes (0x89 "PNG"); the library checks the rest.
inline constexpr size_t kPngSignatureCheck = 4;
bool hasPngSignature(std::span<const uint8_t> firstBytes);

// Decodes from a stream positioned at the start of the file; streamBytes is its length.
// The signature is left to the caller (hasPngSignature). metadata, when given, gets the file's
// EXIF, colour profile and text chunks.
PngDecodeResult decodePngStream(std::FILE* stream, uint64_t streamBytes, image::DibImage& image,
                                const PngDecodeLimits& limits = {},
                                image::PictureMetadata* metadata = nullptr);

// Decodes a whole PNG file held in memory, signature check included.
PngDecodeResult decodePngMemory(std::span<const uint8_t> bytes, image::DibImage& image,
                                const PngDecodeLimits& limits = {});

} // namespace velmora::codecs
