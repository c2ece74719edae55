#include "codecs/bmp/bmp_rows.h"

#include <cstring>

namespace velmora::codecs::bmp {
namespace {

// A 5-bit channel widened to 8 bits, rounded to nearest: (v * 255 / 31 + 0.5).
constexpr std::array<uint8_t, 32> kFiveBitScale = [] {
    std::array<uint8_t, 32> table{};
    for (int v = 0; v < 32; ++v) {
        table[v] = static_cast<uint8_t>((v * 510 + 31) / 62);
    }
    return table;
}();

void copyEntry(uint8_t* dst, const Palette& palette, unsigned index) {
    std::memcpy(dst, palette[index].data(), 3);
}

void convert1(const uint8_t* src, uint8_t* dst, int32_t width, const Palette& palette) {
    for (int32_t x = 0; x < width; ++x) {
        const bool set = (src[x / 8] & (0x80 >> (x % 8))) != 0;
        copyEntry(dst + 3 * x, palette, set ? 1 : 0);
    }
}

void convert4(const uint8_t* src, uint8_t* dst, int32_t width, const Palette& palette) {
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t byte = src[x / 2];
        copyEntry(dst + 3 * x, palette, (x % 2 == 0) ? byte >> 4 : byte & 0x0F);
    }
}

void convert8(const uint8_t* src, uint8_t* dst, int32_t width, const Palette& palette) {
    // Four-byte stores run ahead into the next pixel, which overwrites the extra byte; the
    // last pixel of the row is stored with three bytes so nothing is written past the row.
    const int32_t last = width - 1;
    for (int32_t x = 0; x < last; ++x) {
        std::memcpy(dst + 3 * x, palette[src[x]].data(), 4);
    }
    copyEntry(dst + 3 * last, palette, src[last]);
}

void convert16(const uint8_t* src, uint8_t* dst, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        const unsigned v = src[2 * x] | unsigned{src[2 * x + 1]} << 8;
        dst[3 * x] = kFiveBitScale[v & 0x1F];
        dst[3 * x + 1] = kFiveBitScale[(v >> 5) & 0x1F];
        dst[3 * x + 2] = kFiveBitScale[(v >> 10) & 0x1F];
    }
}

void convert32(const uint8_t* src, uint8_t* dst, int32_t width) {
    for (int32_t x = 0; x < width; ++x) {
        std::memcpy(dst + 3 * x, src + 4 * x, 3);
    }
}

} // namespace

void convertRow(int bitsPerPixel, const uint8_t* src, uint8_t* dst, int32_t width,
                const Palette& palette) {
    if (width < 1) {
        return;
    }
    switch (bitsPerPixel) {
    case 1:
        convert1(src, dst, width, palette);
        break;
    case 4:
        convert4(src, dst, width, palette);
        break;
    case 8:
        convert8(src, dst, width, palette);
        break;
    case 16:
        convert16(src, dst, width);
        break;
    case 24:
        std::memcpy(dst, src, static_cast<size_t>(3) * width);
        break;
    case 32:
        convert32(src, dst, width);
        break;
    default:
        break;
    }
}

} // namespace velmora::codecs::bmp
