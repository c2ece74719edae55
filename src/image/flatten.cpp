#include "image/flatten.h"

namespace velmora::image {

bool flattenOverWhite(const DibImage& picture, DibImage& flat) {
    if (!picture.hasPixels() || !flat.create(picture.width(), picture.height())) {
        return false;
    }
    flat.copyFrom(0, 0, picture);
    if (!picture.hasAlpha()) {
        return true;
    }
    for (int32_t y = 0; y < picture.height(); ++y) {
        uint8_t* out = flat.row(y);
        const uint8_t* alpha = picture.alphaRow(y);
        for (int32_t x = 0; x < picture.width(); ++x) {
            for (int ch = 0; ch < 3; ++ch) {
                out[3 * x + ch] = overWhite(out[3 * x + ch], alpha[x]);
            }
        }
    }
    return true;
}

} // namespace velmora::image
