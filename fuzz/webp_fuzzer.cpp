// Feeds arbitrary bytes to the WebP reader, at full size with its metadata kept and reduced for
// a thumbnail box.
#include "codecs/webp/webp_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small pictures only (up to 256 x 256), so that each run stays quick.
    const velmora::codecs::webp::WebpLimits limits{.maxPixels = 65'536};
    velmora::image::DibImage image;
    velmora::image::PictureMetadata metadata;
    static_cast<void>(velmora::codecs::webp::decodeWebp(image, {data, size}, limits, &metadata));
    static_cast<void>(velmora::codecs::webp::decodeWebpScaled(image, {data, size}, 16, 16, limits));
    return 0;
}
