#include "codecs/bmp/bmp_header.h"
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"

namespace velmora::codecs {

SaveResult saveBmp(const image::DibImage& image, std::u16string_view path) {
    if (!image.hasPixels()) {
        return {SaveCause::NoPicture};
    }
    SafeFileWriter writer(path);
    const auto headers =
        bmp::makeHeaders24(image.width(), image.height(), static_cast<uint32_t>(image.stride()));
    bool written = writer.isOpen() && writer.write(headers.data(), headers.size());
    // Bottom-up: the last image row is the first stored row. Rows go out whole, padding included.
    for (int32_t y = image.height() - 1; written && y >= 0; --y) {
        written = writer.write(image.row(y), static_cast<size_t>(image.stride()));
    }
    return {written && writer.commit() ? SaveCause::Saved : SaveCause::WriteFailed};
}

} // namespace velmora::codecs
