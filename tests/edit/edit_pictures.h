// Pictures for the edit tests: patterned pixels, and a compact view of a picture's pixels.
#pragma once

#include "image/dib_image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace velmora::test {

// Pixel bytes that differ at every position (and padding bytes that must stay 0).
inline void fillPattern(image::DibImage& image, uint32_t seed = 1) {
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < 3 * image.width(); ++x) {
            image.row(y)[x] = static_cast<uint8_t>((x * 37 + y * 101 + seed * 59) ^ (x * y));
        }
    }
}

inline void makePattern(image::DibImage& image, int32_t width, int32_t height, uint32_t seed = 1) {
    ASSERT_TRUE(image.create(width, height));
    fillPattern(image, seed);
}

// Every pixel set to one colour given as blue, green, red.
inline void makeUniform(image::DibImage& image, int32_t width, int32_t height, uint8_t b, uint8_t g,
                        uint8_t r) {
    ASSERT_TRUE(image.create(width, height));
    image.fillColor(uint32_t{r} | uint32_t{g} << 8 | uint32_t{b} << 16);
}

// The whole buffer, padding included, with the size in front.
inline std::vector<uint8_t> snapshot(const image::DibImage& image) {
    const size_t size =
        image.hasPixels() ? static_cast<size_t>(image.stride()) * image.height() : 0;
    std::vector<uint8_t> bytes(2 + size);
    bytes[0] = static_cast<uint8_t>(image.width());
    bytes[1] = static_cast<uint8_t>(image.height());
    if (size > 0) {
        std::memcpy(bytes.data() + 2, image.bits(), size);
    }
    return bytes;
}

inline const uint8_t* pixelAt(const image::DibImage& image, int32_t x, int32_t y) {
    return image.row(y) + 3 * x;
}

} // namespace velmora::test
