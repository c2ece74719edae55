// Decodes arbitrary bytes as a TIFF file held in memory, once with the whole raster and once
// strip by strip, its metadata kept.
#include "codecs/tiff/tiff_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmora;
    // Sides up to 256 only, so that each run stays quick.
    for (uint64_t rasterLimit : {UINT64_MAX, uint64_t{0}}) {
        image::DibImage image;
        image::PictureMetadata metadata;
        codecs::decodeTiffMemory({data, size}, image,
                                 {.maxSide = 256, .maxRasterBytes = rasterLimit}, &metadata);
    }
    return 0;
}
