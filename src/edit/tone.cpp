#include "edit/tone.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace velmora::edit {
namespace {

using ByteTable = std::array<uint8_t, 256>;

uint8_t clampToByte(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// Applies a per-pixel operation op(pixel) to every pixel of every row.
template <typename PixelOp> void forEachPixel(image::DibImage& image, PixelOp op) {
    if (!image.hasPixels()) {
        return;
    }
    const int32_t width = image.width();
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* p = image.row(y);
        for (int32_t x = 0; x < width; ++x, p += 3) {
            op(p);
        }
    }
}

// Applies one byte-to-byte function to every pixel byte, through a table built once.
template <typename ByteFunction> void mapBytes(image::DibImage& image, ByteFunction function) {
    if (!image.hasPixels()) {
        return;
    }
    ByteTable table;
    for (int v = 0; v < 256; ++v) {
        table[v] = function(v);
    }
    const size_t rowBytes = static_cast<size_t>(image.width()) * 3;
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* p = image.row(y);
        for (size_t i = 0; i < rowBytes; ++i) {
            p[i] = table[p[i]];
        }
    }
}

} // namespace

void brightness(image::DibImage& image, int value) {
    const int offset = value - 100;
    mapBytes(image, [offset](int v) { return clampToByte(v + offset); });
}

void contrast(image::DibImage& image, int value) {
    const double factor = value * 0.01;
    mapBytes(image, [factor](int v) -> uint8_t {
        const double s = (v - 127.5) * factor + 127.5;
        if (s > 255.0) {
            return 255;
        }
        return s < 0.0 ? 0 : static_cast<uint8_t>(std::trunc(s));
    });
}

void threshold(image::DibImage& image, int threshold) {
    forEachPixel(image, [threshold](uint8_t* p) {
        const int mean = (p[0] + p[1] + p[2]) / 3;
        const uint8_t level = mean > threshold ? 255 : 0;
        p[0] = p[1] = p[2] = level;
    });
}

void grey(image::DibImage& image) {
    // Each product depends on one byte only, so it is taken from a table: the sum then adds the
    // very same doubles in the same order as the direct formula.
    std::array<double, 256> green, red, blue;
    for (int v = 0; v < 256; ++v) {
        green[v] = v * 0.587;
        red[v] = v * 0.299;
        blue[v] = v * 0.114;
    }
    forEachPixel(image, [&](uint8_t* p) {
        const double y = green[p[1]] + red[p[2]] + blue[p[0]];
        const uint8_t level = y >= 256 ? 255 : (y < 0 ? 0 : static_cast<uint8_t>(y));
        p[0] = p[1] = p[2] = level;
    });
}

void negative(image::DibImage& image) {
    mapBytes(image, [](int v) { return static_cast<uint8_t>(255 - v); });
}

} // namespace velmora::edit
