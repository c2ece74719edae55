#include "codecs/avif/avif_colours.h"

namespace velmora::codecs::avif {

avifResult convertOpaque(const avifImage& picture, image::DibImage& image) {
    avifImage opaque = picture; // shares the decoder's planes; not destroyed
    opaque.alphaPlane = nullptr;
    opaque.alphaRowBytes = 0;
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, &opaque);
    rgb.depth = 8;
    rgb.format = AVIF_RGB_FORMAT_BGR;
    rgb.pixels = image.bits();
    rgb.rowBytes = static_cast<uint32_t>(image.stride());
    return avifImageYUVToRGB(&opaque, &rgb);
}

} // namespace velmora::codecs::avif
