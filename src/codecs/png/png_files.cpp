// loadPng and savePng: the file ends of the PNG adapter.
#include "codecs/png/png_decoder.h"
#include "codecs/png/png_encoder.h"
#include "codecs/readers.h"
#include "platform/regular_file.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

#include <array>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace velmora::codecs {
namespace {

void reportFaulty(const image::DibImage& image) {
    if (image.reportErrors) {
        ui::showError(ui::str::kImageFaulty);
    }
}

} // namespace

bool loadPng(image::DibImage& image, std::u16string_view path) {
    const platform::FilePtr file = platform::openRegularFile(path);
    std::array<uint8_t, kPngSignatureCheck> start{};
    if (file == nullptr || std::fread(start.data(), 1, start.size(), file.get()) != start.size() ||
        !hasPngSignature(start)) {
        reportFaulty(image);
        return false;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
        return false;
    }
    return decodePngStream(file.get(), static_cast<uint64_t>(info.st_size), image) ==
           PngDecodeResult::Ok;
}

bool savePng(const image::DibImage& image, std::u16string_view path) {
    SafeFileWriter writer(path);
    const bool saved = encodePng(image, writer) && writer.commit();
    if (!saved && image.reportErrors) {
        ui::showError(ui::str::kWriteFailed);
    }
    return saved;
}

} // namespace velmora::codecs
