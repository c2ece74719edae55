// Reads arbitrary bytes as an EXIF block (the APP1 form or the bare form of a PNG eXIf chunk),
// turns a small picture by the orientation found, and rewrites the block for a saved picture,
// which must then read as upright.
#include "codecs/corrections/orientation.h"
#include "codecs/metadata/exif_rewrite.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int orientation = velmora::codecs::exifOrientation({data, size});
    if (orientation < 1 || orientation > 8) {
        __builtin_trap();
    }
    velmora::image::DibImage image;
    if (image.create(3, 2)) {
        velmora::codecs::turnUpright(image, orientation);
    }
    const auto rewritten = velmora::codecs::exifForSavedPicture({data, size}, 3, 2);
    if (!rewritten.empty() &&
        (rewritten.size() > 65533 || velmora::codecs::exifOrientation(rewritten) != 1)) {
        __builtin_trap();
    }
    return 0;
}
