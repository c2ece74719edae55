#include "image/checker_compose.h"

#include "image/view_compose.h"

namespace velmora::image {
namespace {

// colours: the image's colours times its alpha, rounded; alpha: the alpha as a grey picture, so
// that both go through the 24-bit scalers.
bool splitPremultiplied(const DibImage& image, DibImage& colours, DibImage& alpha) {
    const int32_t W = image.width(), H = image.height();
    if (!colours.create(W, H) || !alpha.create(W, H)) {
        return false;
    }
    for (int32_t y = 0; y < H; ++y) {
        const uint8_t* in = image.row(y);
        const uint8_t* a = image.alphaRow(y);
        uint8_t* c = colours.row(y);
        uint8_t* g = alpha.row(y);
        for (int32_t i = 0; i < 3 * W; ++i) {
            c[i] = static_cast<uint8_t>((in[i] * a[i / 3] + 127) / 255);
            g[i] = a[i / 3];
        }
    }
    return true;
}

} // namespace

void composeOverChecker(DibImage& surface, const DibImage& image, const ViewState& state,
                        bool smooth) {
    DibImage colours;
    DibImage alpha;
    DibImage drawnAlpha;
    if (!image.hasAlpha() || !splitPremultiplied(image, colours, alpha) ||
        !drawnAlpha.create(surface.width(), surface.height())) {
        drawPicture(surface, image, state, smooth);
        return;
    }
    // Opaque wherever the picture is not drawn: the surface stays as it was there.
    drawnAlpha.fillColor(0xFFFFFF);
    drawPicture(surface, colours, state, smooth);
    drawPicture(drawnAlpha, alpha, state, smooth);
    for (int32_t y = 0; y < surface.height(); ++y) {
        uint8_t* out = surface.row(y);
        const uint8_t* a = drawnAlpha.row(y);
        for (int32_t x = 0; x < surface.width(); ++x) {
            const uint8_t k = checkerAt(x, y);
            for (int ch = 0; ch < 3; ++ch) {
                out[3 * x + ch] = overChecker(out[3 * x + ch], a[3 * x], k);
            }
        }
    }
}

} // namespace velmora::image
