#include "codecs/bmp/bmp_bitfields.h"

#include <bit>

namespace velmora::codecs::bmp {
namespace {

bool contiguous(uint32_t mask) {
    const uint32_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

uint8_t widen(uint32_t value, uint32_t maximum) {
    return static_cast<uint8_t>((uint64_t{value} * 510 + maximum) / (2 * uint64_t{maximum}));
}

} // namespace

bool masksValid(const ChannelMasks& masks, int bitsPerPixel) {
    const uint64_t pixelBits = (uint64_t{1} << bitsPerPixel) - 1;
    for (const uint32_t mask : {masks.red, masks.green, masks.blue}) {
        if (mask != 0 && (!contiguous(mask) || mask > pixelBits)) {
            return false;
        }
    }
    return true;
}

MaskedRowConverter::Channel::Channel(uint32_t mask)
    : shift_(mask == 0 ? 0 : std::countr_zero(mask)), maximum_(mask >> shift_) {
    if (maximum_ == 0) {
        return; // no bits: every pixel gives 0
    }
    for (uint32_t v = 0; v <= maximum_ && v < narrow_.size(); ++v) {
        narrow_[v] = widen(v, maximum_);
    }
}

uint8_t MaskedRowConverter::Channel::operator()(uint32_t pixel) const {
    const uint32_t value = (pixel >> shift_) & maximum_;
    return maximum_ < narrow_.size() ? narrow_[value] : widen(value, maximum_);
}

MaskedRowConverter::MaskedRowConverter(const ChannelMasks& masks, int bitsPerPixel)
    : blue_(masks.blue), green_(masks.green), red_(masks.red), bytesPerPixel_(bitsPerPixel / 8) {}

void MaskedRowConverter::convert(const uint8_t* src, uint8_t* dst, int32_t width) const {
    if (bytesPerPixel_ == 2) {
        convertPixels<2>(src, dst, width);
    } else {
        convertPixels<4>(src, dst, width);
    }
}

template <int Bytes>
void MaskedRowConverter::convertPixels(const uint8_t* src, uint8_t* dst, int32_t width) const {
    // Local copies: stores through dst could alias the members, which would then be read again
    // for every pixel.
    const Channel blue = blue_;
    const Channel green = green_;
    const Channel red = red_;
    for (int32_t x = 0; x < width; ++x, src += Bytes, dst += 3) {
        uint32_t pixel = 0;
        for (int i = Bytes - 1; i >= 0; --i) {
            pixel = pixel << 8 | src[i];
        }
        dst[0] = blue(pixel);
        dst[1] = green(pixel);
        dst[2] = red(pixel);
    }
}

} // namespace velmora::codecs::bmp
