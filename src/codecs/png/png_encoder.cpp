#include "codecs/png/png_encoder.h"

#include "codecs/metadata/jpeg_markers.h"
#include "codecs/png/png_structs.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

namespace velmora::codecs {
namespace {

void writeToFile(png_structp png, png_bytep data, size_t length) {
    auto* writer = static_cast<SafeFileWriter*>(png_get_io_ptr(png));
    if (!writer->write(data, length)) {
        png_error(png, "write failed");
    }
}
// The writer flushes once, when it commits.
void flushNothing(png_structp) {}

// PNG keywords are 1 to 79 Latin-1 characters.
constexpr size_t kMaxKeyword = 79;

// The library's view of the text chunks; it points into texts, which must outlive it.
std::vector<png_text> textChunksOf(const std::vector<image::TextChunk>& texts) {
    std::vector<png_text> chunks;
    for (const image::TextChunk& text : texts) {
        if (text.keyword.empty() || text.keyword.size() > kMaxKeyword) {
            continue;
        }
        png_text chunk{};
        if (text.international) {
            chunk.compression =
                text.compressed ? PNG_ITXT_COMPRESSION_zTXt : PNG_ITXT_COMPRESSION_NONE;
            chunk.itxt_length = text.text.size();
            chunk.lang = const_cast<char*>(text.language.c_str());
            chunk.lang_key = const_cast<char*>(text.translatedKeyword.c_str());
        } else {
            chunk.compression =
                text.compressed ? PNG_TEXT_COMPRESSION_zTXt : PNG_TEXT_COMPRESSION_NONE;
            chunk.text_length = text.text.size();
        }
        chunk.key = const_cast<char*>(text.keyword.c_str());
        chunk.text = const_cast<char*>(text.text.c_str());
        chunks.push_back(chunk);
    }
    return chunks;
}

// What goes into the file besides the pixels.
struct Ancillary {
    std::vector<uint8_t> profile;
    std::vector<png_text> texts;
};

// One row of blue, green, red and alpha bytes, built in out (4 bytes a pixel).
void interleaveAlpha(const image::DibImage& image, int32_t y, uint8_t* out) {
    const uint8_t* colours = image.row(y);
    const uint8_t* alpha = image.alphaRow(y);
    for (int32_t x = 0; x < image.width(); ++x) {
        std::memcpy(out + 4 * x, colours + 3 * x, 3);
        out[4 * x + 3] = alpha[x];
    }
}

// A library error long-jumps back into this frame, so it holds only trivially destructible
// objects.
// rgbaRow, when given, holds one 4-byte row: the alpha plane is written with the colours.
bool runEncode(png_structp png, png_infop info, const image::DibImage& image,
               const Ancillary& ancillary, uint8_t* rgbaRow) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    // A profile the library finds fault with is left out rather than failing the save.
    png_set_benign_errors(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8,
                 rgbaRow != nullptr ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = 8;
    significant.green = 8;
    significant.blue = 8;
    significant.alpha = rgbaRow != nullptr ? 8 : 0;
    png_set_sBIT(png, info, &significant);
    if (!ancillary.profile.empty()) {
        png_set_iCCP(png, info, "ICC profile", PNG_COMPRESSION_TYPE_BASE, ancillary.profile.data(),
                     static_cast<png_uint_32>(ancillary.profile.size()));
    }
    if (!ancillary.texts.empty()) {
        png_set_text(png, info, ancillary.texts.data(), static_cast<int>(ancillary.texts.size()));
    }
    png_write_info(png, info);
    png_set_bgr(png);
    for (int32_t y = 0; y < image.height(); ++y) {
        if (rgbaRow == nullptr) {
            png_write_row(png, image.row(y));
        } else {
            interleaveAlpha(image, y, rgbaRow);
            png_write_row(png, rgbaRow);
        }
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool encodePng(const image::DibImage& image, SafeFileWriter& writer,
               const image::PictureMetadata* metadata, bool keepAlpha) {
    if (!image.hasPixels() || !writer.isOpen()) {
        return false;
    }
    Ancillary ancillary;
    if (metadata != nullptr) {
        ancillary.profile = profileOfPixels(*metadata);
        ancillary.texts = textChunksOf(metadata->texts);
    }
    PngStructs<PngDirection::Write> structs;
    if (!structs.ok()) {
        return false;
    }
    std::vector<uint8_t> rgbaRow;
    if (keepAlpha && image.hasAlpha()) {
        try {
            rgbaRow.resize(size_t{4} * static_cast<size_t>(image.width()));
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    png_set_write_fn(structs.png(), &writer, writeToFile, flushNothing);
    return runEncode(structs.png(), structs.info(), image, ancillary,
                     rgbaRow.empty() ? nullptr : rgbaRow.data());
}

} // namespace velmora::codecs
