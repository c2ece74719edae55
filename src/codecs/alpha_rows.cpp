#include "codecs/alpha_rows.h"

#include <cstring>

namespace velmora::codecs {

void copyBgraRows(const uint8_t* bgra, size_t stride, image::DibImage& image) {
    const bool withAlpha = image.hasAlpha();
    for (int32_t y = 0; y < image.height(); ++y) {
        const uint8_t* from = bgra + stride * static_cast<size_t>(y);
        uint8_t* colours = image.row(y);
        for (int32_t x = 0; x < image.width(); ++x) {
            std::memcpy(colours + 3 * x, from + 4 * x, 3);
        }
        if (withAlpha) {
            uint8_t* alpha = image.alphaRow(y);
            for (int32_t x = 0; x < image.width(); ++x) {
                alpha[x] = from[4 * x + 3];
            }
        }
    }
}

} // namespace velmora::codecs
