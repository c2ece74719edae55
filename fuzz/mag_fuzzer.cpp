// Feeds arbitrary bytes to the MAG reader held in memory.
#include "codecs/mag/mag_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::image::DibImage image;
    static_cast<void>(velmora::codecs::mag::decodeMag(image, std::span<const uint8_t>(data, size)));
    return 0;
}
