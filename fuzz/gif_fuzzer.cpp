// Feeds arbitrary bytes to the GIF reader held in memory.
#include "codecs/gif/gif_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::codecs::gif;
    const std::span<const uint8_t> file(data, size);
    // Large screens are legal but each run then clears, converts and frees a large canvas, which
    // takes far longer than decoding the few bytes of data; keep the fuzzer on the decoding paths
    // (every one of them is reachable with a screen of 256 x 256).
    const ScanResult scan = gifScan(file);
    if (int64_t{scan.screenWidth} * scan.screenHeight > 65'536) {
        return 0;
    }
    velmora::image::DibImage image;
    static_cast<void>(decodeGif(image, file));
    return 0;
}
