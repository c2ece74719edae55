// Decodes arbitrary bytes as a JPEG XL file held in memory.
#include "codecs/jxl/jxl_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::image::DibImage image;
    // Small pictures only (up to 256 x 256), so that each run stays quick.
    (void)velmora::codecs::jxl::decodeJxl({data, size}, image, {.maxPixels = 65'536});
    return 0;
}
