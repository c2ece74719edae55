// Flattening a picture with an alpha plane over white, for files that have no place for alpha:
// what is saved is what an editor would show on a white page, never the colours hidden under
// transparent pixels.
#pragma once

#include "image/dib_image.h"

#include <cstdint>

namespace velmora::image {

// One byte of colour c with alpha a over white: (c * a + 255 * (255 - a)) / 255, rounded.
constexpr uint8_t overWhite(uint8_t c, uint8_t a) {
    return static_cast<uint8_t>((c * a + 255 * (255 - a) + 127) / 255);
}

// Makes flat a copy of picture (without a plane) with every pixel put over white. False when
// picture has no pixels or flat cannot be made.
[[nodiscard]] bool flattenOverWhite(const DibImage& picture, DibImage& flat);

} // namespace velmora::image
