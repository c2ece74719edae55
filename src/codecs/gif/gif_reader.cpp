#include "codecs/gif/gif_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"
#include "ui/message_box.h"
#include "ui/string_table.h"

namespace velmora::codecs {
namespace gif {

bool decodeGif(image::DibImage& image, std::span<const uint8_t> file) {
    const ScanResult scan = gifScan(file);
    if (scan.status != LoadStatus::Decoded) {
        return false;
    }
    const bool emptyScreen = scan.screenWidth == 0 || scan.screenHeight == 0;
    if (!emptyScreen && exceedsImageLimits(scan.screenWidth, scan.screenHeight)) {
        image.create(scan.screenWidth, scan.screenHeight); // refused there, with its message
        return false;
    }
    PackedBitmap canvas;
    if (!emptyScreen && gifDecode(file, canvas, 1) != LoadStatus::Decoded) {
        return false;
    }
    if (canvas.empty()) { // no screen, or the trailer came before any image
        if (image.reportErrors) {
            ui::showError(ui::str::kImageFaulty);
        }
        return false;
    }
    return image.loadPackedDib(canvas.data(), canvas.size());
}

} // namespace gif

bool loadGif(image::DibImage& image, std::u16string_view path) {
    const auto file = platform::readWholeFile(path);
    return file && gif::decodeGif(image, *file);
}

} // namespace velmora::codecs
