// Drawing a picture with an alpha plane over a light grey checkerboard. The squares are fixed on
// the surface, so they keep their size whatever the zoom. The colours are premultiplied by the
// alpha before they go through the scaler of the view, and the alpha goes through the same
// scaler, so colours hidden under transparent pixels never bleed into the edges.
#pragma once

#include "image/dib_image.h"
#include "image/view_state.h"

#include <cstdint>

namespace velmora::image {

inline constexpr int32_t kCheckerSquare = 8;
inline constexpr uint8_t kCheckerLight = 238;
inline constexpr uint8_t kCheckerDark = 204;

// The checkerboard's grey at surface pixel (x, y); the square at (0, 0) is light.
constexpr uint8_t checkerAt(int32_t x, int32_t y) {
    return ((x / kCheckerSquare + y / kCheckerSquare) & 1) == 0 ? kCheckerLight : kCheckerDark;
}

// A premultiplied colour byte c with its (scaled) alpha a over checker grey k:
// c + (255 - a) * k / 255, rounded.
constexpr uint8_t overChecker(uint8_t c, uint8_t a, uint8_t k) {
    const int value = c + ((255 - a) * k + 127) / 255;
    return static_cast<uint8_t>(value < 255 ? value : 255);
}

// Draws image as compose does (the rest of the surface stays as it was), over the
// checkerboard where it is transparent. Without the memory for the premultiplied copies the
// stored colours are drawn as they are.
void composeOverChecker(DibImage& surface, const DibImage& image, const ViewState& state,
                        bool smooth);

} // namespace velmora::image
