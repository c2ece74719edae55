#include "edit/transform.h"

#include "edit/pixel_blocks.h"

#include <algorithm>
#include <cstring>

namespace velmora::edit {
namespace {

// Quarter turns walk the picture in square tiles so that the rows read and the rows written
// both stay in cache.
constexpr int32_t kTile = 32;

void copyPixel(uint8_t* dst, const uint8_t* src) {
    dst[0] = src[0];
    dst[1] = src[1];
    dst[2] = src[2];
}

// Fills a H x W plane from a W x H one, Bytes a pixel; clockwise picks the direction.
template <size_t Bytes, typename TurnedRow, typename SourceRow>
void turnPlane(TurnedRow turnedRow, SourceRow sourceRow, int32_t W, int32_t H, bool clockwise) {
    for (int32_t i0 = 0; i0 < W; i0 += kTile) {
        const int32_t i1 = std::min(i0 + kTile, W);
        for (int32_t j0 = 0; j0 < H; j0 += kTile) {
            const int32_t j1 = std::min(j0 + kTile, H);
            for (int32_t i = i0; i < i1; ++i) {
                uint8_t* out = turnedRow(i);
                const size_t sourceColumn = Bytes * (clockwise ? i : W - 1 - i);
                for (int32_t j = j0; j < j1; ++j) {
                    const int32_t from = clockwise ? H - 1 - j : j;
                    std::memcpy(out + Bytes * j, sourceRow(from) + sourceColumn, Bytes);
                }
            }
        }
    }
}

// Fills turned (H x W) from image (W x H), the alpha plane too when image has one. False when
// the turned plane cannot be made.
bool turnInto(image::DibImage& turned, const image::DibImage& image, bool clockwise) {
    const int32_t W = image.width(), H = image.height();
    turnPlane<3>([&](int32_t y) { return turned.row(y); }, [&](int32_t y) { return image.row(y); },
                 W, H, clockwise);
    if (!image.hasAlpha()) {
        return true;
    }
    if (!turned.createAlpha()) {
        return false;
    }
    turnPlane<1>([&](int32_t y) { return turned.alphaRow(y); },
                 [&](int32_t y) { return image.alphaRow(y); }, W, H, clockwise);
    return true;
}

// Builds a width x height picture with fill (from the old one) and swaps it in. fill returns
// false when it could not have the memory it needs.
template <typename Fill>
EditResult replace(image::DibImage& image, int32_t width, int32_t height, const Fill& fill) {
    image::DibImage made;
    if (!made.create(width, height) || !fill(made)) {
        return {EditCause::OutOfMemory};
    }
    image.swapPixels(made);
    return {EditCause::Done};
}

EditResult turn(image::DibImage& image, bool clockwise) {
    if (!image.hasPixels()) {
        return {EditCause::Unchanged};
    }
    return replace(image, image.height(), image.width(),
                   [&](image::DibImage& turned) { return turnInto(turned, image, clockwise); });
}

} // namespace

EditResult rotateLeft(image::DibImage& image) {
    return turn(image, false);
}

EditResult rotateRight(image::DibImage& image) {
    return turn(image, true);
}

void flipVertical(image::DibImage& image) {
    if (!image.hasPixels()) {
        return;
    }
    const int32_t H = image.height();
    const size_t stride = static_cast<size_t>(image.stride());
    for (int32_t i = 0; i < H / 2; ++i) {
        std::swap_ranges(image.row(i), image.row(i) + stride, image.row(H - 1 - i));
    }
    if (image.hasAlpha()) {
        const int32_t W = image.width();
        for (int32_t i = 0; i < H / 2; ++i) {
            std::swap_ranges(image.alphaRow(i), image.alphaRow(i) + W, image.alphaRow(H - 1 - i));
        }
    }
}

void flipHorizontal(image::DibImage& image) {
    if (!image.hasPixels()) {
        return;
    }
    const int32_t W = image.width();
    for (int32_t y = 0; y < image.height(); ++y) {
        uint8_t* row = image.row(y);
        const int32_t done = mirrorBlocks(row, W);
        uint8_t* left = row + 3 * done;
        uint8_t* right = row + 3 * (W - 1 - done);
        for (int32_t j = done; j < W / 2; ++j, left += 3, right -= 3) {
            uint8_t held[3];
            copyPixel(held, left);
            copyPixel(left, right);
            copyPixel(right, held);
        }
    }
    if (image.hasAlpha()) {
        for (int32_t y = 0; y < image.height(); ++y) {
            std::reverse(image.alphaRow(y), image.alphaRow(y) + W);
        }
    }
}

EditResult applyTurn(image::DibImage& image, image::TurnStep step) {
    switch (step) {
    case image::TurnStep::RotateLeft:
        return rotateLeft(image);
    case image::TurnStep::RotateRight:
        return rotateRight(image);
    case image::TurnStep::FlipVertical:
        flipVertical(image);
        break;
    case image::TurnStep::FlipHorizontal:
        flipHorizontal(image);
        break;
    }
    return {EditCause::Done};
}

EditResult resize(image::DibImage& image, int32_t width, int32_t height, const Progress& progress) {
    if (!image.hasPixels()) {
        return {EditCause::Unchanged};
    }
    return replace(image, width, height, [&](image::DibImage& resized) {
        if (image.hasAlpha() && !resized.createAlpha()) {
            return false;
        }
        image::resampleFrom(resized, image, progress);
        return true;
    });
}

int32_t keepRatioHeight(int32_t newWidth, int32_t width, int32_t height) {
    return width > 0 ? static_cast<int32_t>(int64_t{newWidth} * height / width) : 0;
}

TrimRect clampTrim(TrimRect rect, int32_t width, int32_t height) {
    rect.left = std::clamp(rect.left, 0, width);
    rect.top = std::clamp(rect.top, 0, height);
    if (int64_t{rect.left} + rect.width > width) {
        rect.width = width - rect.left;
    }
    if (int64_t{rect.top} + rect.height > height) {
        rect.height = height - rect.top;
    }
    return rect;
}

EditResult trim(image::DibImage& image, const TrimRect& rect) {
    const TrimRect r = clampTrim(rect, image.width(), image.height());
    if (!image.hasPixels() || r.width <= 0 || r.height <= 0) {
        return {EditCause::Unchanged};
    }
    return replace(image, r.width, r.height, [&](image::DibImage& trimmed) {
        trimmed.copyRectFrom(0, 0, r.width, r.height, image, r.left, r.top);
        return trimmed.copyAlphaFrom(image, r.left, r.top);
    });
}

} // namespace velmora::edit
