// Feeds arbitrary bytes to the JPEG reader, at full size and reduced for a thumbnail box.
#include "codecs/jpeg/jpeg_reader.h"

#include <cstddef>
#include <cstdint>

namespace {

// A few bytes can claim a frame of hundreds of megapixels that the reader then decodes in full
// (a cut file is not an error). That is slow, not wrong, so frames above 256 x 256 are skipped
// here: every path of the reader is reached with smaller ones.
constexpr uint64_t kMaxFuzzPixels = uint64_t{1} << 16;

bool claimsHugeFrame(const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 9 <= size; ++i) {
        const uint8_t marker = data[i + 1];
        const bool frameHeader = data[i] == 0xFF && marker >= 0xC0 && marker <= 0xCF &&
                                 marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) {
            const uint64_t height = uint64_t{data[i + 5]} << 8 | data[i + 6];
            const uint64_t width = uint64_t{data[i + 7]} << 8 | data[i + 8];
            if (width * height > kMaxFuzzPixels) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (claimsHugeFrame(data, size)) {
        return 0;
    }
    velmora::image::DibImage image;
    static_cast<void>(velmora::codecs::jpeg::decodeJpegFromMemory(image, data, size));
    static_cast<void>(velmora::codecs::jpeg::decodeJpegScaledFromMemory(image, data, size, 16, 16));
    return 0;
}
