// Feeds arbitrary bytes to the bitmap reader.
#include "codecs/bmp/bmp_header.h"
#include "codecs/bmp/bmp_reader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora::codecs::bmp;
    // Run-length files may legally be far larger than their data (every pixel not written is
    // index 0); each such run then clears and converts a large canvas, which takes far longer
    // than decoding the few bytes. Keep the fuzzer on the decoding paths, all of which are
    // reachable with 65536 pixels. Uncompressed sizes are bounded by the file size already.
    if (size >= kHeadersSize) {
        const BmpInfo info = parseHeaders({data, kHeadersSize});
        const bool runLength = info.compression == kRle8 || info.compression == kRle4;
        if (runLength && int64_t{info.width} * std::abs(int64_t{info.height}) > 65'536) {
            return 0;
        }
    }
    velmora::image::DibImage image;
    static_cast<void>(decodeBmpFromMemory(image, data, size));
    return 0;
}
