#include "codecs/png/png_encoder.h"

#include "codecs/png/png_structs.h"

#include <png.h>

#include <csetjmp>

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

// A library error long-jumps back into this frame, so it holds only trivially destructible
// objects.
bool runEncode(png_structp png, png_infop info, const image::DibImage& image) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()),
                 static_cast<png_uint_32>(image.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color_8 significant{};
    significant.red = 8;
    significant.green = 8;
    significant.blue = 8;
    png_set_sBIT(png, info, &significant);
    png_write_info(png, info);
    png_set_bgr(png);
    for (int32_t y = 0; y < image.height(); ++y) {
        png_write_row(png, image.row(y));
    }
    png_write_end(png, info);
    return true;
}

} // namespace

bool encodePng(const image::DibImage& image, SafeFileWriter& writer) {
    if (!image.hasPixels() || !writer.isOpen()) {
        return false;
    }
    PngStructs<PngDirection::Write> structs;
    if (!structs.ok()) {
        return false;
    }
    png_set_write_fn(structs.png(), &writer, writeToFile, flushNothing);
    return runEncode(structs.png(), structs.info(), image);
}

} // namespace velmora::codecs
