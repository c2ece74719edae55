#include "codecs/bmp/bmp_header.h"
#include "codecs/readers.h"
#include "codecs/safe_file_writer.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::codecs {
namespace {

bool writeFile(const image::DibImage& image, std::u16string_view path) {
    if (!image.hasPixels()) {
        return false;
    }
    SafeFileWriter writer(path);
    const auto headers =
        bmp::makeHeaders24(image.width(), image.height(), static_cast<uint32_t>(image.stride()));
    if (!writer.isOpen() || !writer.write(headers.data(), headers.size())) {
        return false;
    }
    // Bottom-up: the last image row is the first stored row. Rows go out whole, padding included.
    for (int32_t y = image.height() - 1; y >= 0; --y) {
        if (!writer.write(image.row(y), static_cast<size_t>(image.stride()))) {
            return false;
        }
    }
    return writer.commit();
}

} // namespace

bool saveBmp(const image::DibImage& image, std::u16string_view path) {
    if (writeFile(image, path)) {
        return true;
    }
    if (image.reportErrors) {
        ui::showError(ui::str::kWriteFailed);
    }
    return false;
}

} // namespace velmora::codecs
