// Reads arbitrary bytes as an EXIF block (the APP1 form or the bare form of a PNG eXIf chunk)
// and turns a small picture by the orientation found.
#include "codecs/corrections/orientation.h"

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
    return 0;
}
