// Decodes arbitrary bytes as a JPEG XL file held in memory, its metadata kept.
#include "codecs/jxl/jxl_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::image::DibImage image;
    velmora::image::PictureMetadata metadata;
    // Small pictures only (up to 256 x 256), so that each run stays quick.
    (void)velmora::codecs::jxl::decodeJxl({data, size}, image, {.maxPixels = 65'536}, &metadata);
    return 0;
}
