#include "codecs/gif/gif_decoder.h"
#include "codecs/readers.h"
#include "platform/device_fs.h"

namespace velmora::codecs {
namespace gif {

LoadResult decodeGif(image::DibImage& image, std::span<const uint8_t> file) {
    const ScanResult scan = gifScan(file);
    if (scan.status != LoadStatus::Decoded) {
        return {LoadCause::Undecodable};
    }
    const bool emptyScreen = scan.screenWidth == 0 || scan.screenHeight == 0;
    if (!emptyScreen && exceedsImageLimits(scan.screenWidth, scan.screenHeight)) {
        return {LoadCause::TooLarge};
    }
    PackedBitmap canvas;
    int transparentIndex = -1;
    if (!emptyScreen && gifDecode(file, canvas, 1, &transparentIndex) != LoadStatus::Decoded) {
        return {LoadCause::Undecodable};
    }
    if (canvas.empty()) { // no screen, or the trailer came before any image
        return {LoadCause::Faulty};
    }
    // The canvas is a bitmap this reader made: only the image's memory can fail.
    return {image.loadPackedDib(canvas.data(), canvas.size()) &&
                    applyTransparentIndex(image, canvas, transparentIndex)
                ? LoadCause::Loaded
                : LoadCause::OutOfMemory};
}

} // namespace gif

LoadResult loadGif(image::DibImage& image, std::u16string_view path) {
    const auto file = platform::readWholeFile(path);
    return file ? gif::decodeGif(image, *file) : LoadResult{LoadCause::CannotOpen};
}

} // namespace velmora::codecs
