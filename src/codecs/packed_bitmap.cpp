#include "codecs/packed_bitmap.h"

#include "image/dib_image.h"

namespace velmora::codecs {
namespace {

void putLe16(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void putLe32(uint8_t* p, uint32_t value) {
    putLe16(p, value);
    putLe16(p + 2, value >> 16);
}

} // namespace

bool exceedsImageLimits(int64_t width, int64_t height) {
    return width > image::kMaxImageSide || height > image::kMaxImageSide ||
           width * height > image::kMaxImagePixels;
}

bool PackedBitmap::allocate(int32_t width, int32_t height, int bitsPerPixel) {
    block_.reset();
    size_ = 0;
    if (width < 1 || height < 1 || exceedsImageLimits(width, height)) {
        return false;
    }
    rowBytes_ = static_cast<size_t>(((int64_t{width} * bitsPerPixel + 31) >> 3) & ~int64_t{3});
    pixelOffset_ = kHeaderSize + (size_t{4} << bitsPerPixel);
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    const size_t imageBytes = rowBytes_ * static_cast<size_t>(height);
    // calloc: large blocks come as fresh zero pages, so there is no separate clearing pass.
    block_.reset(static_cast<uint8_t*>(std::calloc(pixelOffset_ + imageBytes, 1)));
    if (!block_) {
        return false;
    }
    size_ = pixelOffset_ + imageBytes;
    uint8_t* header = block_.get();
    putLe32(header, kHeaderSize);
    putLe32(header + 4, static_cast<uint32_t>(width));
    putLe32(header + 8, static_cast<uint32_t>(height));
    putLe16(header + 12, 1);
    putLe16(header + 14, static_cast<uint32_t>(bitsPerPixel));
    putLe32(header + 20, static_cast<uint32_t>(imageBytes));
    return true;
}

void PackedBitmap::setColor(int index, uint8_t red, uint8_t green, uint8_t blue) {
    uint8_t* entry = block_.get() + kHeaderSize + 4 * static_cast<size_t>(index);
    entry[0] = blue;
    entry[1] = green;
    entry[2] = red;
}

} // namespace velmora::codecs
