// Feeds arbitrary bytes to the AVIF reader, its metadata kept.
#include "codecs/avif/avif_reader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    velmora::image::DibImage image;
    velmora::image::PictureMetadata metadata;
    // Small pictures only (up to 256 x 256), so that each run stays quick.
    static_cast<void>(
        velmora::codecs::avif::decodeAvif(image, {data, size}, {.maxPixels = 65'536}, &metadata));
    return 0;
}
