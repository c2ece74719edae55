#include "codecs/png/png_encoder.h"

#include "codecs/metadata/jpeg_markers.h"
#include "codecs/png/png_structs.h"

#include <png.h>

#include <csetjmp>
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

// A library error long-jumps back into this frame, so it holds only trivially destructible
// objects.
bool runEncode(png_structp png, png_infop info, const image::DibImage& image,
               const Ancillary& ancillary) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    // A profile the library finds fault with is left out rather than failing the save.
    png_set_benign_errors(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = 8;
    significant.green = 8;
    significant.blue = 8;
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
        png_write_row(png, image.row(y));
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool encodePng(const image::DibImage& image, SafeFileWriter& writer,
               const image::PictureMetadata* metadata) {
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
    png_set_write_fn(structs.png(), &writer, writeToFile, flushNothing);
    return runEncode(structs.png(), structs.info(), image, ancillary);
}

} // namespace velmora::codecs
