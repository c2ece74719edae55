#include "codecs/png/png_decoder.h"

#include "codecs/corrections/colour_profile.h"
#include "codecs/corrections/orientation.h"
#include "codecs/corrections/picture_corrections.h"
#include "codecs/png/png_structs.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

namespace velmora::codecs {
namespace {

// Deflate cannot do better than 1032:1 (a 258-byte match in two bits); a stream shorter than
// this share of the pixel bytes cannot hold the picture it claims, so it is refused before the
// image is made.
constexpr uint64_t kDeflateRatioBound = 1100;

struct MemoryInput {
    const uint8_t* data;
    size_t size;
    size_t position;
};

void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
    if (length > input->size - input->position) {
        png_error(png, "unexpected end of data");
    }
    std::memcpy(out, input->data + input->position, length);
    input->position += length;
}

struct DecodeJob {
    image::DibImage* image;
    uint64_t inputBytes;
    int64_t maxPixels;
    image::PictureMetadata* metadata;
    std::vector<uint8_t>* rowBuffer = nullptr; // rows of a picture with alpha, owned outside
};

bool allocateRows(std::vector<uint8_t>& rows, size_t bytes) {
    try {
        rows.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool plausibleForInput(uint64_t width, uint64_t height, int bitsPerPixel, uint64_t inputBytes) {
    // width and height are at most 65535 each (the user limits), so this cannot overflow.
    const uint64_t pixelBytes = width * height * static_cast<uint64_t>(bitsPerPixel) / 8;
    return pixelBytes / kDeflateRatioBound <= inputBytes;
}

// Every picture ends as 8-bit blue-green-red, followed by an alpha byte when the file has
// transparency (an alpha channel or a transparency chunk). Returns whether it has.
bool chooseTransformations(png_structp png, png_infop info, int depth, int colorType) {
    if (colorType == PNG_COLOR_TYPE_PALETTE && depth <= 8) {
        png_set_palette_to_rgb(png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY && depth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_expand(png);
    }
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (hasTransparency) {
        png_set_tRNS_to_alpha(png);
    }
    if (depth == 16) {
        png_set_strip_16(png);
    }
    if (depth < 8) {
        png_set_packing(png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if ((colorType & PNG_COLOR_MASK_COLOR) != 0) {
        png_set_bgr(png);
    }
    return (colorType & PNG_COLOR_MASK_ALPHA) != 0 || hasTransparency;
}

// Reads every pass straight into the image rows: 3 bytes a pixel, so an interlaced pass lands on
// the row that keeps the earlier passes' pixels.
void readOpaqueRows(png_structp png, image::DibImage& image, int passes) {
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t y = 0; y < image.height(); ++y) {
            png_read_row(png, image.row(y), nullptr);
        }
    }
}

// Reads 4-byte rows into buffer (one row, or every row when interlaced, so that later passes
// find the earlier ones) and splits each finished row into the colours and the alpha plane.
void readRowsWithAlpha(png_structp png, image::DibImage& image, int passes, uint8_t* buffer) {
    const size_t rowBytes = size_t{4} * static_cast<size_t>(image.width());
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t y = 0; y < image.height(); ++y) {
            uint8_t* row = buffer + (passes > 1 ? rowBytes * static_cast<size_t>(y) : 0);
            png_read_row(png, row, nullptr);
            if (pass + 1 < passes) {
                continue;
            }
            uint8_t* colours = image.row(y);
            uint8_t* alpha = image.alphaRow(y);
            for (int32_t x = 0; x < image.width(); ++x) {
                std::memcpy(colours + 3 * x, row + 4 * x, 3);
                alpha[x] = row[4 * x + 3];
            }
        }
    }
}

// A library error long-jumps back into this frame, so it and every frame between it and the
// library calls hold only trivially destructible objects.
PngDecodeResult runDecode(png_structp png, png_infop info, const DecodeJob& job) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return PngDecodeResult::Corrupt;
    }
    png_set_user_limits(png, image::kMaxImageSide, image::kMaxImageSide);
    // Every chunk's CRC already covers the compressed data; the stream's own Adler-32 over every
    // decompressed byte would be checked as well, a quarter of the decode.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &depth, &colorType, nullptr, nullptr, nullptr);
    const int bitsPerPixel = depth * png_get_channels(png, info);
    if (!plausibleForInput(width, height, bitsPerPixel, job.inputBytes)) {
        return PngDecodeResult::Implausible;
    }
    if (static_cast<int64_t>(width) * height > job.maxPixels) {
        return PngDecodeResult::TooLarge;
    }
    const bool withAlpha = chooseTransformations(png, info, depth, colorType);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{withAlpha ? 4U : 3U} * width) {
        return PngDecodeResult::Corrupt;
    }
    if (!job.image->create(static_cast<int32_t>(width), static_cast<int32_t>(height)) ||
        (withAlpha && !job.image->createAlpha())) {
        return PngDecodeResult::CreateFailed;
    }
    if (!withAlpha) {
        readOpaqueRows(png, *job.image, passes);
    } else {
        // Freed by the caller's frame, which the library's long jump does not skip.
        const size_t rows = passes > 1 ? height : 1;
        if (!allocateRows(*job.rowBuffer, size_t{4} * width * rows)) {
            return PngDecodeResult::CreateFailed;
        }
        readRowsWithAlpha(png, *job.image, passes, job.rowBuffer->data());
        job.image->dropAlphaIfOpaque();
    }
    // Into info: an eXIf chunk may follow the pixels.
    png_read_end(png, info);
    return PngDecodeResult::Ok;
}

// The colour space the file declares: an iCCP profile; else none for an sRGB chunk; else the
// space gAMA and cHRM describe (either may stand alone); else none.
std::shared_ptr<const ColourTransform> colourTransformOf(png_structp png, png_infop info) {
    png_charp name = nullptr;
    int compression = 0;
    png_bytep profile = nullptr;
    png_uint_32 profileBytes = 0;
    if (png_get_iCCP(png, info, &name, &compression, &profile, &profileBytes) != 0) {
        return transformFromProfile({profile, profileBytes}, PixelLayout::Bgr);
    }
    if (png_get_valid(png, info, PNG_INFO_sRGB) != 0) {
        return nullptr;
    }
    png_fixed_point gamma = 0;
    const bool hasGamma = png_get_gAMA_fixed(png, info, &gamma) != 0 && gamma > 0;
    png_fixed_point c[8] = {};
    const bool hasPrimaries =
        png_get_cHRM_fixed(png, info, &c[0], &c[1], &c[2], &c[3], &c[4], &c[5], &c[6], &c[7]) != 0;
    if (!hasGamma && !hasPrimaries) {
        return nullptr;
    }
    uint32_t primaries[8] = {};
    for (size_t i = 0; i < 8; ++i) {
        primaries[i] = c[i] > 0 ? static_cast<uint32_t>(c[i]) : 0;
    }
    const std::vector<uint8_t> made = profileFromGammaAndPrimaries(
        hasGamma ? static_cast<uint32_t>(gamma) : 0,
        hasPrimaries ? std::span<const uint32_t>(primaries) : std::span<const uint32_t>());
    return made.empty() ? nullptr : transformFromProfile(made, PixelLayout::Bgr);
}

void collectTexts(png_structp png, png_infop info, std::vector<image::TextChunk>& texts) {
    png_textp chunks = nullptr;
    int count = 0;
    png_get_text(png, info, &chunks, &count);
    for (int i = 0; i < count; ++i) {
        const png_text& chunk = chunks[i];
        const bool international = chunk.compression >= PNG_ITXT_COMPRESSION_NONE;
        const size_t length = international ? chunk.itxt_length : chunk.text_length;
        const auto orEmpty = [](const char* text) { return text != nullptr ? text : ""; };
        const bool compressed = chunk.compression == PNG_TEXT_COMPRESSION_zTXt ||
                                chunk.compression == PNG_ITXT_COMPRESSION_zTXt;
        texts.push_back({orEmpty(chunk.key), std::string(orEmpty(chunk.text), length),
                         international, compressed, international ? orEmpty(chunk.lang) : "",
                         international ? orEmpty(chunk.lang_key) : ""});
    }
}

// Applies the file's colour space and orientation to the decoded picture, noting in metadata
// (when given) what the file held and what was done; false when it could not be turned upright.
bool correct(png_structp png, png_infop info, image::DibImage& image,
             image::PictureMetadata* metadata) {
    const PictureCorrections wanted = pictureCorrections();
    std::shared_ptr<const ColourTransform> colour;
    if (wanted.colourProfiles) {
        colour = colourTransformOf(png, info);
        if (colour) {
            colour->convertPicture(image);
        }
    }
    png_uint_32 exifBytes = 0;
    png_bytep exif = nullptr;
    const bool hasExif = png_get_eXIf_1(png, info, &exifBytes, &exif) != 0 && exif != nullptr;
    const int orientation =
        wanted.upright && hasExif ? exifOrientation({exif, exifBytes}) : kUpright;
    const bool upright = turnUpright(image, orientation);
    if (metadata != nullptr) {
        if (hasExif) {
            metadata->exif.assign(exif, exif + exifBytes);
        }
        png_charp name = nullptr;
        int compression = 0;
        png_bytep profile = nullptr;
        png_uint_32 profileBytes = 0;
        if (png_get_iCCP(png, info, &name, &compression, &profile, &profileBytes) != 0) {
            metadata->icc.assign(profile, profile + profileBytes);
        }
        collectTexts(png, info, metadata->texts);
        metadata->coloursConverted = colour != nullptr;
        metadata->readerTurn = upright ? image::Turn::uprighting(orientation) : image::Turn{};
    }
    return upright;
}

PngDecodeResult decodeAndCorrect(png_structp png, png_infop info, DecodeJob job) {
    std::vector<uint8_t> rowBuffer;
    job.rowBuffer = &rowBuffer;
    const PngDecodeResult result = runDecode(png, info, job);
    if (result == PngDecodeResult::Ok && !correct(png, info, *job.image, job.metadata)) {
        return PngDecodeResult::NotUpright;
    }
    return result;
}

} // namespace

bool hasPngSignature(std::span<const uint8_t> firstBytes) {
    return firstBytes.size() >= kPngSignatureCheck &&
           png_sig_cmp(firstBytes.data(), 0, kPngSignatureCheck) == 0;
}

PngDecodeResult decodePngStream(std::FILE* stream, uint64_t streamBytes, image::DibImage& image,
                                const PngDecodeLimits& limits, image::PictureMetadata* metadata) {
    PngStructs<PngDirection::Read> structs;
    if (!structs.ok()) {
        return PngDecodeResult::Corrupt;
    }
    png_init_io(structs.png(), stream);
    return decodeAndCorrect(structs.png(), structs.info(),
                            {&image, streamBytes, limits.maxPixels, metadata});
}

PngDecodeResult decodePngMemory(std::span<const uint8_t> bytes, image::DibImage& image,
                                const PngDecodeLimits& limits) {
    if (!hasPngSignature(bytes)) {
        return PngDecodeResult::NotPng;
    }
    PngStructs<PngDirection::Read> structs;
    if (!structs.ok()) {
        return PngDecodeResult::Corrupt;
    }
    MemoryInput input{bytes.data(), bytes.size(), 0};
    png_set_read_fn(structs.png(), &input, readFromMemory);
    return decodeAndCorrect(structs.png(), structs.info(),
                            {&image, bytes.size(), limits.maxPixels, nullptr});
}

} // namespace velmora::codecs
