// Feeds arbitrary bytes to the bitmap reader.
#include "codecs/bmp/bmp_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::image::DibImage image;
    image.reportErrors = false;
    velmora::codecs::bmp::decodeBmpFromMemory(image, data, size);
    return 0;
}
